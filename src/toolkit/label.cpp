#include "label.h"

#include "surfacewidget.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace velmora {

namespace {
// Text sits this far inside a bordered label, as on the classic single-line border.
constexpr int kBorderInset = 2;

// A single-line border one device pixel wide on the outermost whole device pixels of
// the widget, so that at a fractional scale (150 %) every edge is drawn and all four
// are alike; a one-pixel pen on the logical edge would fall between device pixels.
void drawSingleBorder(QPainter &p, const QWidget &widget, const QColor &color)
{
    const qreal ratio = widget.devicePixelRatioF();
    const QPointF origin = QPointF(widget.mapTo(widget.window(), QPoint(0, 0))) * ratio;
    constexpr qreal kSlack = 1e-6;
    const qreal left = std::ceil(origin.x() - kSlack);
    const qreal top = std::ceil(origin.y() - kSlack);
    const qreal right = std::floor(origin.x() + widget.width() * ratio + kSlack);
    const qreal bottom = std::floor(origin.y() + widget.height() * ratio + kSlack);
    const auto local = [&](qreal x, qreal y) { return QPointF((x - origin.x()) / ratio, (y - origin.y()) / ratio); };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(local(left, top), local(right, top + 1)), color);
    p.fillRect(QRectF(local(left, bottom - 1), local(right, bottom)), color);
    p.fillRect(QRectF(local(left, top), local(left + 1, bottom)), color);
    p.fillRect(QRectF(local(right - 1, top), local(right, bottom)), color);
    p.restore();
}
} // namespace

Label::Label(QWidget *parent, QString name, int index)
    : Control(new SurfaceWidget(parent), std::move(name), index)
{
    auto *surface = static_cast<SurfaceWidget *>(widget());
    surface->painter = [this](QPainter &p) { paint(p); };
    setBackColor(QColor(255, 255, 255));
    setForeColor(QColor(0, 0, 0));
}

void Label::setClickable(bool clickable)
{
    m_clickable = clickable;
    // Tab only: a mouse click never gives it the focus, so the mouse sees no frame.
    widget()->setFocusPolicy(clickable ? Qt::TabFocus : Qt::NoFocus);
    auto *surface = static_cast<SurfaceWidget *>(widget());
    surface->accessibleRole = clickable ? QAccessible::Button : QAccessible::StaticText;
    surface->press = nullptr;
    if (clickable) {
        surface->press = [this] {
            if (onClick)
                onClick();
        };
    }
    widget()->setAccessibleName(m_caption);
}

void Label::setAnnounced(bool announced)
{
    setAccessibleRole(announced ? QAccessible::AlertMessage : QAccessible::StaticText);
}

void Label::setLifted(bool lifted)
{
    m_lifted = lifted;
    if (lifted)
        widget()->raise();
    widget()->update();
}

void Label::textChanged()
{
    m_fitted.reset();
    fitToText();
    widget()->update();
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    widget()->setAccessibleName(caption);
    textChanged();
}

void Label::setFont(const QFont &font)
{
    m_font = font;
    textChanged();
}

void Label::setAlignment(Alignment alignment)
{
    m_alignment = alignment;
    m_fitted.reset();
    widget()->update();
}

void Label::setBackStyle(BackStyle style)
{
    if (style == m_backStyle)
        return;
    m_backStyle = style;
    widget()->update();
}

void Label::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    textChanged();
}

void Label::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    textChanged();
}

void Label::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    m_fitted.reset();
    fitToText();
}

int Label::textFlags() const
{
    int flags = Qt::AlignTop | Qt::TextWordWrap;
    switch (m_alignment) {
    case Alignment::Left:
        flags |= Qt::AlignLeft;
        break;
    case Alignment::Right:
        flags |= Qt::AlignRight;
        break;
    case Alignment::Center:
        flags |= Qt::AlignHCenter;
        break;
    }
    return flags;
}

void Label::fitToText()
{
    if (!m_autoSize)
        return;
    const QFontMetricsF metrics(m_font);
    const double inset = m_borderStyle == BorderStyle::FixedSingle ? 2 * kBorderInset : 0;
    QRectF bounds;
    if (m_wordWrap) {
        const double widthPx = width() / kTwipsPerPixel - inset;
        bounds = metrics.boundingRect(QRectF(0, 0, qMax(1.0, widthPx), 1e6), textFlags(), m_caption);
        setHeight(pixelsToTwips(std::ceil(bounds.height() + inset)));
    } else {
        bounds = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), textFlags() & ~Qt::TextWordWrap, m_caption);
        setGeometry(left(), top(), pixelsToTwips(std::ceil(bounds.width() + inset)),
                    pixelsToTwips(std::ceil(bounds.height() + inset)));
    }
}

void Label::geometryChanged()
{
    m_fitted.reset();
    Control::geometryChanged();
}

const FittedText &Label::fittedText(const QRect &textRect) const
{
    if (!m_fitted) {
        // An auto-sized label grows to its text instead.
        m_fitted = m_autoSize ? FittedText{m_font, textFlags()}
                              : fitText(m_font, m_caption, QSizeF(textRect.size()), textFlags());
    }
    return *m_fitted;
}

void Label::paint(QPainter &p)
{
    const QRect r = widget()->rect();
    if (m_backStyle == BackStyle::Opaque)
        p.fillRect(r, backColor());
    QRect textRect = r;
    if (m_borderStyle == BorderStyle::FixedSingle) {
        drawSingleBorder(p, *widget(), QColor(0, 0, 0));
        textRect = r.adjusted(kBorderInset, kBorderInset, -kBorderInset, -kBorderInset);
    }
    const FittedText &text = fittedText(textRect);
    p.setFont(text.font);
    p.setClipRect(textRect);
    if (!enabled()) {
        // Disabled text is drawn embossed: a light copy beneath a grey one.
        p.setPen(QColor(255, 255, 255));
        p.drawText(textRect.translated(1, 1), text.flags, m_caption);
        p.setPen(QColor(128, 128, 128));
    } else {
        p.setPen(foreColor());
    }
    p.drawText(textRect, text.flags, m_caption);
    if (m_lifted) {
        // Carried: a thick white rim inside a black edge, whatever the colours.
        p.setClipping(false);
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
        p.setPen(QPen(QColor(255, 255, 255), 2));
        p.drawRect(QRectF(r).adjusted(2, 2, -2, -2));
    }
    if (m_clickable && widget()->hasFocus()) {
        // The keyboard focus: a dashed frame of black over white, seen on any colour.
        p.setClipping(false);
        const QRectF frame = QRectF(r).adjusted(3.5, 3.5, -3.5, -3.5);
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.drawRect(frame);
        p.setPen(QPen(QColor(0, 0, 0), 1, Qt::DashLine));
        p.drawRect(frame);
    }
}

} // namespace velmora
