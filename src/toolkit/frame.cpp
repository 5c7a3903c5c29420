#include "frame.h"

#include "surfacewidget.h"

#include <QPainter>

namespace velmora {

Frame::Frame(QWidget *parent, QString name, int index)
    : Control(new SurfaceWidget(parent), std::move(name), index)
{
    static_cast<SurfaceWidget *>(widget())->painter = [this](QPainter &p) { paint(p); };
    setBackColor(QColor(192, 192, 192));
    setForeColor(QColor(0, 0, 0));
}

void Frame::setCaption(const QString &caption)
{
    m_caption = caption;
    widget()->update();
}

void Frame::paint(QPainter &p)
{
    const QRect r = widget()->rect();
    p.fillRect(r, backColor());
    const int top = m_caption.isEmpty() ? 0 : p.fontMetrics().height() / 2;
    // Etched outline: a dark line with a light one just inside it.
    const QRect outline = r.adjusted(0, top, -2, -2);
    p.setPen(backColor().darker(160));
    p.drawRect(outline);
    p.setPen(backColor().lighter(160));
    p.drawRect(outline.translated(1, 1));
    if (!m_caption.isEmpty()) {
        const QRect text(8, 0, p.fontMetrics().horizontalAdvance(m_caption) + 4, p.fontMetrics().height());
        p.fillRect(text, backColor());
        p.setPen(foreColor());
        p.drawText(text, Qt::AlignCenter, m_caption);
    }
}

} // namespace velmora
