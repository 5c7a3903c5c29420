// Background of the unit page: an antique celestial globe on its stand,
// set on a faint star chart, with a parchment banner for the scientist's
// name at the top left.
//
// The page lays the scientist's name on the banner in black, two black
// buttons at the top right, his portrait over the middle of the globe and a
// row of black buttons along the bottom, so the globe is painted to glow
// around the portrait and the bottom of the picture is kept dark and quiet.
//
// The sky, the globe and its stand are painted in files of their own
// (globesky.cpp, globesphere.cpp, globestand.cpp); this one adds the
// banner and puts the picture together.

#include "globebackground.h"
#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRectF>

namespace artwork {
namespace globe {
namespace {

// Parchment banner for the name.
constexpr qreal kBannerRight = 440.0;
constexpr qreal kBannerBottom = 66.0;

void paintBanner(QPainter &p, QImage &image, QRandomGenerator &rng)
{
    // Scroll of parchment: a sheet across the top left whose right end is
    // rolled up.
    QPainterPath sheet(QPointF(0, 0));
    sheet.lineTo(kBannerRight, 0);
    sheet.lineTo(kBannerRight, kBannerBottom - 4);
    sheet.cubicTo(QPointF(kBannerRight - 60, kBannerBottom + 2), QPointF(kBannerRight - 150, kBannerBottom - 3),
                  QPointF(220, kBannerBottom + 1));
    sheet.cubicTo(QPointF(140, kBannerBottom + 5), QPointF(60, kBannerBottom - 1), QPointF(0, kBannerBottom + 2));
    sheet.closeSubpath();

    // Shadow on the sky beneath it.
    QImage shadow = transparentLayer(image.size());
    {
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 170));
        sp.drawPath(sheet.translated(4, 5));
        sp.drawRoundedRect(QRectF(kBannerRight - 6, -2, 22, kBannerBottom + 10), 8, 8);
    }
    blurLayer(shadow, 6.0);
    p.drawImage(0, 0, shadow);

    QLinearGradient vellum(0, 0, 0, kBannerBottom);
    vellum.setColorAt(0.0, QColor(250, 240, 212));
    vellum.setColorAt(0.7, QColor(244, 230, 196));
    vellum.setColorAt(1.0, QColor(226, 204, 158));
    p.setPen(Qt::NoPen);
    p.setBrush(vellum);
    p.drawPath(sheet);

    // Age: foxing and a warmer, darker edge, kept away from the lettering.
    p.save();
    p.setClipPath(sheet);
    QLinearGradient edge(0, kBannerBottom - 12, 0, kBannerBottom + 4);
    edge.setColorAt(0.0, QColor(160, 110, 50, 0));
    edge.setColorAt(1.0, QColor(160, 110, 50, 110));
    p.fillRect(QRectF(0, kBannerBottom - 12, kBannerRight, 18), edge);
    for (int i = 0; i < 14; ++i) {
        const QPointF at(rng.generateDouble() * kBannerRight, rng.generateDouble() * kBannerBottom);
        const qreal r = 3 + rng.generateDouble() * 10;
        QRadialGradient spot(at, r);
        spot.setColorAt(0.0, QColor(190, 150, 90, 26));
        spot.setColorAt(1.0, QColor(190, 150, 90, 0));
        p.setBrush(spot);
        p.drawEllipse(at, r, r);
    }
    p.restore();

    // A ruled border in brown ink near the lower edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 78, 36, 170), 1.0));
    QPainterPath rule(QPointF(8, kBannerBottom - 6));
    rule.cubicTo(QPointF(120, kBannerBottom - 3), QPointF(300, kBannerBottom - 8),
                 QPointF(kBannerRight - 10, kBannerBottom - 9));
    p.drawPath(rule);
    p.setPen(QPen(QColor(120, 78, 36, 110), 0.7));
    p.drawPath(rule.translated(0, -3));

    // The rolled end.
    const QRectF roll(kBannerRight - 6, -4, 20, kBannerBottom + 8);
    QLinearGradient curl(roll.left(), 0, roll.right(), 0);
    curl.setColorAt(0.0, QColor(200, 172, 120));
    curl.setColorAt(0.35, QColor(252, 242, 214));
    curl.setColorAt(0.7, QColor(220, 194, 142));
    curl.setColorAt(1.0, QColor(140, 106, 60));
    p.setPen(QPen(QColor(120, 86, 44), 0.8));
    p.setBrush(curl);
    p.drawRoundedRect(roll, 9, 9);
    p.setBrush(QColor(150, 112, 64));
    p.drawEllipse(QPointF(roll.center().x(), roll.bottom() - 7), 7, 4);
    p.setBrush(QColor(96, 66, 32));
    p.drawEllipse(QPointF(roll.center().x(), roll.bottom() - 7), 3, 1.8);
}

// Keeps the foot of the picture dark and quiet for the buttons, and darkens
// the edges a little.
void paintFootAndVignette(QPainter &p)
{
    QLinearGradient foot(0, kFloorTop, 0, kHeight);
    foot.setColorAt(0.0, QColor(4, 5, 12, 0));
    foot.setColorAt(0.25, QColor(4, 5, 12, 200));
    foot.setColorAt(1.0, QColor(2, 2, 6, 255));
    p.fillRect(QRectF(0, kFloorTop, kWidth, kHeight - kFloorTop), foot);

    // Gentle vignette.
    QRadialGradient vignette(QPointF(400, 280), 520);
    vignette.setColorAt(0.7, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 8, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(vignette);
    p.drawRect(QRectF(0, kBannerBottom + 12, kWidth, kHeight));
}

} // namespace
} // namespace globe

QImage paintGlobeBackground()
{
    using namespace globe;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);

    QRandomGenerator rng(0x610BE5u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    paintNightSky(p, rng);
    paintGlow(p);
    paintStandBehind(p);

    p.end();
    paintSphere(image);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintGlobeMarkings(p, rng);
    paintMeridianRing(p);
    paintStandInFront(p);

    paintBanner(p, image, rng);
    paintFootAndVignette(p);
    p.end();
    return image;
}

} // namespace artwork
