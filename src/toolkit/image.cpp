#include "image.h"

#include "surfacewidget.h"

#include <QFileInfo>
#include <QPainter>

namespace velmora {

namespace {
constexpr double kDefaultMissingWidth = 1500;
constexpr double kDefaultMissingHeight = 1125;
} // namespace

void drawMissingPicture(QPainter &painter, const QRect &rect, const QString &source, bool unreadable)
{
    painter.save();
    painter.fillRect(rect, QColor(255, 255, 255));
    painter.fillRect(rect, QBrush(QColor(200, 200, 200), Qt::BDiagPattern));
    painter.setPen(QPen(QColor(128, 0, 0), 1, Qt::DashLine));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(QColor(128, 0, 0));
    const QString name = QFileInfo(QString(source).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    painter.drawText(rect.adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     (unreadable ? QStringLiteral("Picture cannot be read:\n%1")
                                 : QStringLiteral("Picture missing:\n%1"))
                         .arg(name.isEmpty() ? source : name));
    painter.restore();
}

Image::Image(QWidget *parent, QString name, int index)
    : Control(new SurfaceWidget(parent), std::move(name), index)
{
    static_cast<SurfaceWidget *>(widget())->painter = [this](QPainter &p) { paint(p); };
}

void Image::setPicture(const Picture &picture)
{
    m_picture = picture;
    m_missing.clear();
    if (!picture.isNull())
        setGeometry(left(), top(), picture.sizeTwips().width(), picture.sizeTwips().height());
    widget()->update();
}

void Image::setMissingPicture(const QString &source, bool unreadable)
{
    m_picture = Picture();
    m_missing = source;
    m_unreadable = unreadable;
    if (width() <= 0 || height() <= 0)
        setGeometry(left(), top(), kDefaultMissingWidth, kDefaultMissingHeight);
    widget()->update();
}

void Image::paint(QPainter &p)
{
    if (!m_missing.isEmpty()) {
        drawMissingPicture(p, widget()->rect(), m_missing, m_unreadable);
        return;
    }
    m_picture.draw(p, QPointF(0, 0), kTwipsPerPixel);
}

PictureBox::PictureBox(QWidget *parent, QString name, int index)
    : Control(new SurfaceWidget(parent), std::move(name), index)
{
    static_cast<SurfaceWidget *>(widget())->painter = [this](QPainter &p) { paint(p); };
    setBackColor(QColor(192, 192, 192));
}

void PictureBox::setPicture(const Picture &picture)
{
    m_picture = picture;
    m_missing.clear();
    widget()->update();
}

void PictureBox::setMissingPicture(const QString &source, bool unreadable)
{
    m_picture = Picture();
    m_missing = source;
    m_unreadable = unreadable;
    widget()->update();
}

void PictureBox::setBorder(bool border)
{
    m_border = border;
    widget()->update();
}

void PictureBox::paint(QPainter &p)
{
    const QRect r = widget()->rect();
    p.fillRect(r, backColor());
    const QRect inner = m_border ? r.adjusted(2, 2, -2, -2) : r;
    if (!m_missing.isEmpty()) {
        drawMissingPicture(p, inner, m_missing, m_unreadable);
    } else {
        p.save();
        p.setClipRect(inner);
        m_picture.draw(p, inner.topLeft(), kTwipsPerPixel);
        p.restore();
    }
    if (m_border) {
        // The sunken edge of a classic picture box.
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(QColor(64, 64, 64));
        p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
        p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
        p.setPen(QColor(255, 255, 255));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(QColor(212, 208, 200));
        p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    }
}

} // namespace velmora
