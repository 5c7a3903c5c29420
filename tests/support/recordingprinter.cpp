#include "recordingprinter.h"

#include "toolkit/picture.h"

#include <QLineF>

#include <algorithm>
#include <iterator>
#include <optional>

namespace velmora::test {

namespace {

// The part of a segment inside the area (Liang-Barsky), or nothing.
std::optional<QLineF> clipped(const QLineF &line, const QRectF &area)
{
    const double dx = line.dx();
    const double dy = line.dy();
    double from = 0;
    double to = 1;
    const auto edge = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            from = std::max(from, t);
        else
            to = std::min(to, t);
        return from <= to;
    };
    if (!edge(-dx, line.x1() - area.left()) || !edge(dx, area.right() - line.x1()) || !edge(-dy, line.y1() - area.top())
        || !edge(dy, area.bottom() - line.y1()))
        return std::nullopt;
    if (from == 0 && to == 1)
        return line;
    return QLineF(line.pointAt(from), line.pointAt(to));
}

} // namespace

RecordingPrintTarget::RecordingPrintTarget()
    : m_metrics(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMetre = qRound(1440 / 0.0254);
    m_metrics.setDotsPerMeterX(dotsPerMetre);
    m_metrics.setDotsPerMeterY(dotsPerMetre);
}

void RecordingPrintTarget::begin()
{
    if (noPrinter)
        throw PrintError(QStringLiteral("no default printer"));
    m_drawings = 0;
    ops.append(Op{Op::Begin});
}

void RecordingPrintTarget::drawing()
{
    if (failAtDrawing > 0 && ++m_drawings >= failAtDrawing)
        throw PrintError(QStringLiteral("printer not ready"));
}

void RecordingPrintTarget::drawText(double x, double y, const QFont &font, const QColor &color, const QString &text)
{
    drawing();
    const QRectF box(x, y, textWidth(font, text), lineHeight(font));
    if (!box.intersects(area()))
        return;
    const QRectF shown = box & area();
    Op op{Op::Text, x, y, shown.right(), shown.bottom(), !area().contains(box)};
    op.text = text;
    op.family = font.family();
    op.points = font.pointSizeF();
    op.color = color;
    ops.append(op);
}

void RecordingPrintTarget::drawLine(double x1, double y1, double x2, double y2, double width, const QColor &color)
{
    drawing();
    const QLineF asked(x1, y1, x2, y2);
    const std::optional<QLineF> shown = clipped(asked, area());
    if (!shown)
        return;
    Op op{Op::Line, shown->x1(), shown->y1(), shown->x2(), shown->y2(), *shown != asked};
    op.width = width;
    op.color = color;
    ops.append(op);
}

void RecordingPrintTarget::drawPicture(double x, double y, const velmora::Picture &picture)
{
    drawing();
    const QRectF box(QPointF(x, y), picture.sizeTwips());
    if (!box.intersects(area()))
        return;
    const QRectF shown = box & area();
    Op op{Op::Picture, shown.left(), shown.top(), shown.right(), shown.bottom(), !area().contains(box)};
    op.text = picture.source();
    ops.append(op);
}

void RecordingPrintTarget::newPage()
{
    drawing();
    ops.append(Op{Op::NewPage});
}

QList<RecordingPrintTarget::Op> RecordingPrintTarget::ofKind(Op::Kind kind) const
{
    QList<Op> out;
    std::copy_if(ops.begin(), ops.end(), std::back_inserter(out), [kind](const Op &op) { return op.kind == kind; });
    return out;
}

} // namespace velmora::test
