#pragma once

#include "toolkit/picture.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace velmora::metafile {

// A metafile page played once into a list of drawing operations of our own, in twips
// from the picture's top-left corner. Replaying it is cheap and draws real vectors and
// real text on any painter.

// Pen dashes as Windows draws them, in screen pixels.
enum class Dashes : quint8 { None, Dash, Dot, DashDot, DashDotDot };

struct Stroke {
    QColor color;
    double widthTwips = 0; // a line never comes out thinner than one device pixel
    Dashes dashes = Dashes::None;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
};

struct ShapeItem {
    QPainterPath path;
    std::optional<Stroke> stroke;
    std::optional<QBrush> fill;
    std::optional<QColor> hatchBackground; // an opaque background behind a hatched fill
    double dashedLength = 0; // twips, dashed strokes only
};

struct TextItem {
    QPointF anchor; // the reference point, twips
    double angle = 0; // degrees, clockwise on the page (QPainter::rotate)
    QPointF baselineStart; // where drawText starts, relative to the anchor, rotated
    QFont font; // pixel size in twips
    QColor color;
    QString text;
    std::optional<QColor> background; // opaque background mode: the text's cell
    QRectF backgroundRect; // relative to the anchor, rotated
    std::optional<QColor> boxColor; // ExtTextOut's opaque rectangle
    std::optional<QRectF> box; // ExtTextOut's rectangle, twips, unrotated
    bool clipToBox = false;
};

struct ImageItem {
    QRectF target;
    QImage image;
    QRectF source;
    // A drawing's pixels (a pattern, a chart): scaled without smoothing and stored
    // losslessly in a PDF. Photographs are smoothed and may be stored as JPEG.
    bool crisp = false;
};

// Replaces the metafile's clipping (the picture's own frame still clips).
struct ClipItem {
    std::optional<QPainterPath> region; // none: no clipping
};

using Item = std::variant<ShapeItem, TextItem, ImageItem, ClipItem>;

class DisplayList
{
public:
    QSizeF size; // twips
    std::vector<Item> items;

    // Draws with the top-left corner at the painter's origin.
    void render(QPainter &painter, double twipsPerUnit) const;
    // The area the items cover, twips (text by its cell).
    QRectF bounds() const;
    // The text items' words in reading order: rows top to bottom (items whose baselines
    // lie within half a line of each other share a row), left to right in a row.
    QString readingText() const;
    void translate(QPointF offset);
    // The memory the list takes, estimated.
    qint64 bytes() const;
};

// The largest rendering a picture keeps for re-showing, in device pixels.
inline constexpr qint64 kMaxKeptPixels = qint64(2048) * 2048;

// The picture's drawer. On a raster device at a plain translation it keeps the last
// rendering as an image and shows that again (a page is re-shown often and never
// changes); printers and PDF files always get the vectors.
Picture::Drawer drawerFor(std::shared_ptr<const DisplayList> list);

} // namespace velmora::metafile
