#include "recordingprinter.h"

#include "toolkit/picture.h"

#include <QFontMetricsF>

namespace velmora::test {

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

double RecordingPrintTarget::textWidth(const QFont &font, const QString &text) const
{
    return QFontMetricsF(font, &m_metrics).horizontalAdvance(text);
}

double RecordingPrintTarget::lineHeight(const QFont &font) const
{
    return QFontMetricsF(font, &m_metrics).height();
}

void RecordingPrintTarget::drawing()
{
    if (failAtDrawing > 0 && ++m_drawings >= failAtDrawing)
        throw PrintError(QStringLiteral("printer not ready"));
}

void RecordingPrintTarget::drawText(double x, double y, const QFont &font, const QColor &color, const QString &text)
{
    drawing();
    Op op{Op::Text, x, y};
    op.text = text;
    op.family = font.family();
    op.points = font.pointSizeF();
    op.color = color;
    ops.append(op);
}

void RecordingPrintTarget::drawLine(double x1, double y1, double x2, double y2, double width, const QColor &color)
{
    drawing();
    Op op{Op::Line, x1, y1, x2, y2};
    op.width = width;
    op.color = color;
    ops.append(op);
}

void RecordingPrintTarget::drawPicture(double x, double y, const velmora::Picture &picture)
{
    drawing();
    Op op{Op::Picture, x, y, x + picture.sizeTwips().width(), y + picture.sizeTwips().height()};
    op.text = picture.source();
    ops.append(op);
}

void RecordingPrintTarget::newPage()
{
    drawing();
    ops.append(Op{Op::NewPage});
}

void RecordingPrintTarget::end()
{
    ops.append(Op{Op::End});
}

void RecordingPrintTarget::abort()
{
    ops.append(Op{Op::Abort});
}

QList<RecordingPrintTarget::Op> RecordingPrintTarget::ofKind(Op::Kind kind) const
{
    QList<Op> out;
    for (const Op &op : ops) {
        if (op.kind == kind)
            out.append(op);
    }
    return out;
}

int RecordingPrintTarget::documents() const
{
    return int(ofKind(Op::End).size());
}

} // namespace velmora::test
