// What items cost to show: estimated microseconds of reading an item and drawing it
// once at screen scale (a pixel is 15 twips), measured on a two-core machine with
// bench/heavypages.sh. Long strokes and large fills cost by the pixels they touch;
// text by its items (each a font lookup and a layout) and its characters.
#include "wmfdevice.h"

#include "toolkit/twips.h"

namespace velmora::metafile {

namespace {

constexpr double kItem = 8;
constexpr double kPerElement = 0.3;
constexpr double kPerStrokedPixel = 0.02; // of a thin stroke's length
constexpr double kPerDashedPixel = 0.08; // of a dashed stroke's length
constexpr double kPerFilledPixel = 0.002; // of the bounding box
// A fill (or a stroke wider than a pixel, which is filled as an outline) costs by the
// rows its edges cross: a many-sided zigzag over the whole page is the dearest shape,
// a detailed outline whose edges are short is cheap.
constexpr double kPerEdgeRow = 0.2;
constexpr double kPerTextItem = 60;
constexpr double kPerCharacter = 2;
constexpr double kPerImagePixel = 0.004; // of the target
constexpr double kPerSourcePixel = 0.001; // of the part of the bitmap drawn
constexpr double kPerDecodedPixel = 0.02; // reading a bitmap from the file

double pixels(double twips)
{
    return twips / kTwipsPerPixel;
}

// The path's length and the rows its edges cross, without dashing it or flattening its
// curves: sums over its elements (a curve's control polygon is longer than the curve).
void measure(const QPainterPath &path, double &length, double &edgeRows)
{
    length = 0;
    edgeRows = 0;
    for (int i = 1; i < path.elementCount(); ++i) {
        const QPainterPath::Element &e = path.elementAt(i);
        if (e.isMoveTo())
            continue;
        const QLineF edge(path.elementAt(i - 1), e);
        length += edge.length();
        edgeRows += std::abs(edge.dy());
    }
}

} // namespace

double costOf(const ShapeItem &item)
{
    const QRectF box = item.path.controlPointRect();
    double length = 0;
    double edgeRows = 0;
    measure(item.path, length, edgeRows);
    length = pixels(length);
    edgeRows = pixels(edgeRows) + pixels(box.height()); // the closing edges, at most
    double cost = kItem + kPerElement * item.path.elementCount();
    bool filled = bool(item.fill);
    if (item.stroke) {
        const double width = pixels(item.stroke->widthTwips);
        cost +=
            length
            * (std::max(1.0, width) * kPerStrokedPixel + (item.stroke->dashes != Dashes::None ? kPerDashedPixel : 0));
        filled = filled || width > 1;
    }
    if (filled)
        cost += pixels(box.width()) * pixels(box.height()) * kPerFilledPixel + edgeRows * kPerEdgeRow;
    return cost;
}

double costOf(const TextItem &item)
{
    return kPerTextItem + kPerCharacter * double(item.text.size());
}

double costOf(const ImageItem &item)
{
    const double target = pixels(item.target.width()) * pixels(item.target.height());
    const double source = item.source.width() * item.source.height();
    return kItem + kPerImagePixel * std::abs(target) + kPerSourcePixel * std::abs(source);
}

double costOf(const QImage &decoded)
{
    return kItem + kPerDecodedPixel * double(decoded.width()) * double(decoded.height());
}

} // namespace velmora::metafile
