// Velmora artwork generator: what the files painting the background of the
// unit page share. globebackground.cpp puts the picture together from the
// night sky (globesky.cpp), the globe itself (globesphere.cpp) and its
// wooden stand (globestand.cpp).

#pragma once

#include <QColor>
#include <QPointF>

class QImage;
class QPainter;
class QRandomGenerator;

namespace artwork::globe {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The globe, centred behind the portrait.
constexpr QPointF kCentre(400.0, 272.0);
constexpr qreal kGlobeRadius = 172.0;
constexpr qreal kMeridianInner = 179.0;
constexpr qreal kMeridianOuter = 193.0;

// Floor line below the stand; below it the picture stays dark.
constexpr qreal kFloorTop = 500.0;

inline const QColor kGold(226, 188, 108);
inline const QColor kPaleGold(244, 220, 150);
inline const QColor kWalnut(96, 56, 30);

// The parts, in the order they are painted; those given `rng` take their
// random numbers from it in turn, so the order matters.

// The star chart behind everything: sky, graticule, stars and constellations,
// the Moon, Jupiter, a compass rose and a sun-centred diagram.
void paintNightSky(QPainter &p, QRandomGenerator &rng);

// The warm glow around the globe.
void paintGlow(QPainter &p);

// What stands behind the globe: the stand's shadow on the floor, the back
// legs and their stretchers and the back half of the horizon ring.
void paintStandBehind(QPainter &p);

// The lit sphere, painted pixel by pixel straight into `image` (no painter
// may be active on it).
void paintSphere(QImage &image);

// The globe's markings: zodiac, graticule, constellations and stars.
void paintGlobeMarkings(QPainter &p, QRandomGenerator &rng);

// The brass meridian ring around the globe, with its pivot pins.
void paintMeridianRing(QPainter &p);

// What stands in front of the globe: the pedestal, the front legs and
// stretchers and the front of the horizon ring.
void paintStandInFront(QPainter &p);

} // namespace artwork::globe
