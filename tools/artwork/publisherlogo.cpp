// Publisher's logo: Halvorne Publishing Ltd.
//
// An open book with a small star rising above it, over the name "Halvorne".
// The logo sits on its own light card because Velmora shows it on a dark
// navy screen.

#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 100;

const QColor kNavy(31, 50, 112);
const QColor kInk(24, 32, 60);
const QColor kGold(196, 146, 44);
const QColor kPaper(252, 250, 243);

QPolygonF starPolygon(const QPointF &centre, qreal outer, qreal inner, int points)
{
    QPolygonF star;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal a = qDegreesToRadians(-90.0 + 180.0 * i / points);
        star << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return star;
}

void paintBook(QPainter &p)
{
    paintOpenBook(p, 60.0, 32.0, 58.0, 25.0, 6.5, 4.6);
}

void paintStar(QPainter &p)
{
    const QPointF centre(60.0, 18.0);

    // Short rays behind the star.
    p.setPen(QPen(QColor(kGold.red(), kGold.green(), kGold.blue(), 150), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 22.5 + 45.0 * i);
        p.drawLine(centre + QPointF(9.5 * std::cos(a), 9.5 * std::sin(a)),
                   centre + QPointF(12.5 * std::cos(a), 12.5 * std::sin(a)));
    }

    QRadialGradient fill(centre + QPointF(-1.5, -2.0), 9.0);
    fill.setColorAt(0.0, QColor(255, 226, 130));
    fill.setColorAt(1.0, kGold);
    p.setBrush(fill);
    p.setPen(QPen(QColor(150, 104, 20), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.drawPolygon(starPolygon(centre, 8.0, 3.3, 5));
}

void paintName(QPainter &p)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(20);
    font.setWeight(QFont::Bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(kInk);

    const QString name = QStringLiteral("Halvorne");
    const QRectF nameRect(4, 64, kWidth - 8, 22);
    p.drawText(nameRect, Qt::AlignHCenter | Qt::AlignVCenter, name);

    // A short gold rule with diamonds at each end, under the name.
    const QFontMetricsF metrics(font);
    const qreal half = std::min(metrics.horizontalAdvance(name) / 2.0, 44.0) - 6.0;
    const qreal y = 89.5;
    p.setPen(QPen(kGold, 1.0));
    p.drawLine(QPointF(60 - half, y), QPointF(60 + half, y));
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    for (const qreal x : {60 - half, 60 + half}) {
        QPolygonF diamond;
        diamond << QPointF(x, y - 2) << QPointF(x + 2, y) << QPointF(x, y + 2) << QPointF(x - 2, y);
        p.drawPolygon(diamond);
    }
}

} // namespace

QImage paintPublisherLogo()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kPaper);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Thin double border: navy outside, gold hairline inside.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, 1.0));
    p.drawRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1));
    p.setPen(QPen(kGold, 1.0));
    p.drawRect(QRectF(3.5, 3.5, kWidth - 7, kHeight - 7));

    paintStar(p);
    paintBook(p);
    paintName(p);

    p.end();
    return image;
}

} // namespace artwork
