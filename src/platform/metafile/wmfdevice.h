#pragma once

// INTERNAL to the metafile player (the files in this folder): the one header that
// includes libwmf. libwmf's headers define U8, U16, S16, U32, S32 and GDI names (OPAQUE,
// TRANSPARENT, TA_CENTER, ...) as macros, so this header comes last in the player's
// own files and nowhere else.

#include "platform/metafilepicture.h"
#include "platform/metafilescan.h"
#include "wmfcharsets.h"
#include "wmfstate.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>

namespace velmora::metafile {

// Mapping modes as libwmf keeps them in the DC (MM_DPI: a placeable file that never
// set one).
enum MapModes : quint16 {
    kMapText = 1,
    kMapLoMetric = 2,
    kMapHiMetric = 3,
    kMapLoEnglish = 4,
    kMapHiEnglish = 5,
    kMapTwips = 6,
    kMapIsotropic = 7,
    kMapAnisotropic = 8,
    kMapDpi = 9,
};

inline constexpr double kCoordinateLimit = 4 * kMaxSideTwips;

inline double finiteOr0(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

inline double clampCoordinate(double v)
{
    return std::clamp(finiteOr0(v), -kCoordinateLimit, kCoordinateLimit);
}

inline QColor colorOf(const wmfRGB &c)
{
    return QColor(c.r, c.g, c.b);
}

struct FontInfo {
    QFont base; // everything but the size
    QFont unit; // at kUnitFontPixels, for libwmf's string widths
    QFontMetricsF unitMetrics{QFont()};
    Charset charset = Charset::Western;
    int signedHeight = 0;
    int width = 0;
    int escapement = 0;
};

struct Bitmap {
    std::unique_ptr<QImage> image;
    bool bottomUp = true;
    bool crisp = false; // shown and printed pixel for pixel (see wmfbitmaps.cpp)
};

// Device coordinates (as libwmf hands them over) to twips: t = a * d + b per axis.
struct Mapping {
    double ax = 0, bx = 0, ay = 0, by = 0;
    double pixelWidth = 1, pixelHeight = 1; // libwmf's device units per logical unit
    bool valid = false;

    QPointF point(double x, double y) const { return {clampCoordinate(ax * x + bx), clampCoordinate(ay * y + by)}; }
    QPointF point(const wmfD_Coord &d) const { return point(d.x, d.y); }
    QPointF vector(double dx, double dy) const { return {finiteOr0(ax * dx), finiteOr0(ay * dy)}; }
    QRectF rect(const wmfD_Coord &a, const wmfD_Coord &b) const { return QRectF(point(a), point(b)).normalized(); }
    // Twips per logical unit.
    double logicalX() const { return std::abs(ax * pixelWidth); }
    double logicalY() const { return std::abs(ay * pixelHeight); }
};

// What one page may cost to show, in estimated microseconds of reading and drawing it
// on the screen (see wmfbudget.cpp). Past it the rest of the page is left out: the page
// shows what was drawn first, and the screen never waits long for one page.
inline constexpr double kPageBudget = 120000;

struct Budget {
    double left = kPageBudget;
    bool exceeded = false;
};

// Everything one playing of one file keeps. libwmf hands it back in every callback.
struct Player {
    const Scan &scan;
    DcTracker dc;
    DisplayList list;
    std::deque<FontInfo> fonts; // a font's user_data points into this
    std::unordered_set<const void *> fontInfos;
    std::unordered_map<const void *, Bitmap> bitmaps;
    qint64 bitmapBytes = 0;
    int lastTextRecord = -1;
    QSizeF frame; // twips; empty for a plain file framed by its drawing
    bool windowFrame = false; // the window maps onto the frame
    QElapsedTimer clock;
    Budget budget;
    bool playing = false; // libwmf's first pass only sizes the page: no text is measured

    explicit Player(const Scan &s)
        : scan(s)
        , dc(s)
    {
    }
};

Player &playerOf(wmfAPI *api);
// The record libwmf is playing, or -1.
int currentRecord(wmfAPI *api);
// The device context as the records set it, for the record being played.
const DcState &stateOf(wmfAPI *api);
Mapping mappingFor(wmfAPI *api, const wmfDC *dc);
// Whether the page may take one more item (see Budget); counts it when it may.
bool spend(wmfAPI *api, const ShapeItem &item);
bool spend(wmfAPI *api, const TextItem &item);
bool spend(wmfAPI *api, const ImageItem &item);
bool spend(wmfAPI *api, const QImage &decoded); // a bitmap read from the file
// The estimated cost of an item (wmfbudget.cpp).
double costOf(const ShapeItem &item);
double costOf(const TextItem &item);
double costOf(const ImageItem &item);
double costOf(const QImage &decoded);

// The callbacks of each part of the device layer.
void setUpShapes(wmfFunctionReference *f);
void setUpBitmaps(wmfFunctionReference *f);
void setUpText(wmfFunctionReference *f, wmfFontData *fonts);

// Shared by shapes and bitmaps: a brush as a fill (its bitmap when it has one this
// player decoded).
void setFill(wmfAPI *api, ShapeItem &shape, const wmfDC *dc, const wmfBrush *brush);
const Bitmap *bitmapOf(wmfAPI *api, const void *data);

} // namespace velmora::metafile
