// Publisher's bitmap for the acknowledgments page: the Halvorne Publishing
// emblem (a star rising over an open book) with the firm's name, on white.

#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>
#include <QtMath>

#include <cmath>

namespace artwork {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 89;

const QColor kNavy(31, 50, 112);
const QColor kInk(24, 32, 60);
const QColor kGold(196, 146, 44);

void paintBook(QPainter &p, qreal spineX, qreal top, qreal bottom, qreal pageWidth)
{
    paintOpenBook(p, spineX, top, bottom, pageWidth, 5.5, (bottom - top - 8.0) / 4);
}

void paintRisingStar(QPainter &p, const QPointF &centre, qreal size)
{
    p.setPen(QPen(withAlpha(kGold, 150), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 22.5 + 45.0 * i);
        p.drawLine(centre + QPointF(size * 1.2 * std::cos(a), size * 1.2 * std::sin(a)),
                   centre + QPointF(size * 1.55 * std::cos(a), size * 1.55 * std::sin(a)));
    }
    QRadialGradient fill(centre + QPointF(-1.5, -2.0), size * 1.1);
    fill.setColorAt(0.0, QColor(255, 226, 130));
    fill.setColorAt(1.0, kGold);
    p.setBrush(fill);
    p.setPen(QPen(QColor(150, 104, 20), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.drawPolygon(starPolygon(centre, size, size * 0.41, 5));
}

} // namespace

QImage paintPublisherBitmap()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    paintRisingStar(p, QPointF(60.0, 12.5), 7.5);
    paintBook(p, 60.0, 25.0, 47.0, 25.0);

    QFont name(QStringLiteral("Liberation Serif"));
    name.setPixelSize(20);
    name.setWeight(QFont::Bold);
    name.setStyleStrategy(QFont::PreferAntialias);
    name.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(name);
    p.setPen(kInk);
    p.drawText(QRectF(0, 49, kWidth, 22), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("Halvorne"));

    QFont line(QStringLiteral("Liberation Serif"));
    line.setPixelSize(10);
    line.setWeight(QFont::DemiBold);
    line.setCapitalization(QFont::AllUppercase);
    line.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    line.setStyleStrategy(QFont::PreferAntialias);
    p.setFont(line);
    p.setPen(kNavy);
    const QString publishing = QStringLiteral("Publishing");
    const QRectF lineRect(0, 72, kWidth, 12);
    p.drawText(lineRect, Qt::AlignHCenter | Qt::AlignVCenter, publishing);

    // Gold rules either side of the second line.
    const qreal half = QFontMetricsF(line).horizontalAdvance(publishing) / 2.0 + 5.0;
    const qreal y = lineRect.center().y() + 0.5;
    p.setPen(QPen(kGold, 1.0));
    p.drawLine(QPointF(8, y), QPointF(60 - half, y));
    p.drawLine(QPointF(60 + half, y), QPointF(kWidth - 8, y));
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    for (const qreal x : {8.0, qreal(kWidth - 8)}) {
        QPolygonF diamond;
        diamond << QPointF(x, y - 2) << QPointF(x + 2, y) << QPointF(x, y + 2) << QPointF(x - 2, y);
        p.drawPolygon(diamond);
    }

    p.end();
    return image;
}

} // namespace artwork
