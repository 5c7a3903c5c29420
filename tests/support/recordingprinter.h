#pragma once

#include "platform/printer.h"

#include <QFontMetricsF>
#include <QImage>
#include <QList>

namespace velmora::test {

// A printer that records what would be printed. Metrics come from a 1440-dpi image, so
// text widths and line heights are those of a real printer in twips. Like a real one it
// clips at the printable area: it records what lands on the paper and marks what was
// cut. It can fail on purpose: from the start (no printer) or at the n-th drawing call.
class RecordingPrintTarget : public PrintTarget
{
public:
    struct Op {
        enum Kind { Begin, Text, Line, Picture, NewPage, End, Abort } kind = Begin;
        // On the paper: a text's origin and the far corner of its box; a line's ends; a
        // picture's corners.
        double x = 0, y = 0, x2 = 0, y2 = 0;
        bool cut = false; // part of it lay outside the printable area and was lost
        QString text{}; // text, or the picture's source
        QString family{};
        double points = 0;
        QColor color{};
        double width = 0;
    };

    RecordingPrintTarget();

    void begin() override;
    QSizeF printableSize() const override { return size; }
    double textWidth(const QFont &font, const QString &text) const override
    {
        return QFontMetricsF(font, &m_metrics).horizontalAdvance(text);
    }
    double lineHeight(const QFont &font) const override { return QFontMetricsF(font, &m_metrics).height(); }
    void drawText(double x, double y, const QFont &font, const QColor &color, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2, double width, const QColor &color) override;
    void drawPicture(double x, double y, const velmora::Picture &picture) override;
    void newPage() override;
    void end() override { ops.append(Op{Op::End}); }
    void abort() override { ops.append(Op{Op::Abort}); }

    QList<Op> ofKind(Op::Kind kind) const;
    // Finished documents (End reached).
    int documents() const { return int(ofKind(Op::End).size()); }

    QSizeF size{11000, 16000};
    bool noPrinter = false;
    int failAtDrawing = 0; // 0: never; n: the n-th drawing call throws
    QList<Op> ops;

private:
    void drawing();
    QRectF area() const { return {QPointF(0, 0), size}; }

    QImage m_metrics;
    int m_drawings = 0;
};

} // namespace velmora::test
