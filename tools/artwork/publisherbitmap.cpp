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

QPainterPath pagePath(qreal spineX, qreal top, qreal bottom, qreal width, int side)
{
    const qreal outerX = spineX + side * width;
    QPainterPath page;
    page.moveTo(spineX, top + 3);
    page.cubicTo(spineX + side * width * 0.35, top - 2, spineX + side * width * 0.7, top - 3, outerX, top);
    page.lineTo(outerX, bottom - 3);
    page.cubicTo(spineX + side * width * 0.7, bottom - 6, spineX + side * width * 0.35, bottom - 5, spineX, bottom);
    page.closeSubpath();
    return page;
}

void paintBook(QPainter &p, qreal spineX, qreal top, qreal bottom, qreal pageWidth)
{
    // Navy cover showing under the pages.
    QPainterPath cover;
    cover.moveTo(spineX, bottom + 3);
    cover.cubicTo(spineX - 10, bottom - 1, spineX - 20, bottom - 2, spineX - pageWidth - 3, bottom - 1);
    cover.lineTo(spineX - pageWidth - 3, top + 2);
    cover.lineTo(spineX - pageWidth, top + 2);
    cover.lineTo(spineX - pageWidth, bottom - 3);
    cover.lineTo(spineX + pageWidth, bottom - 3);
    cover.lineTo(spineX + pageWidth, top + 2);
    cover.lineTo(spineX + pageWidth + 3, top + 2);
    cover.lineTo(spineX + pageWidth + 3, bottom - 1);
    cover.cubicTo(spineX + 20, bottom - 2, spineX + 10, bottom - 1, spineX, bottom + 3);
    cover.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawPath(cover);

    for (const int side : {-1, 1}) {
        const QPainterPath page = pagePath(spineX, top, bottom, pageWidth, side);
        QLinearGradient shade(spineX, 0, spineX + side * pageWidth, 0);
        shade.setColorAt(0.0, QColor(214, 210, 196));
        shade.setColorAt(0.25, QColor(250, 248, 240));
        shade.setColorAt(1.0, QColor(255, 255, 252));
        p.setBrush(shade);
        p.setPen(QPen(kNavy, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(page);

        // Lines of print.
        p.setPen(QPen(QColor(150, 160, 190), 0.9, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const int lines = 4;
        const qreal step = (bottom - top - 8.0) / lines;
        for (int line = 0; line < lines; ++line) {
            const qreal y = top + 5.5 + line * step;
            const qreal x0 = spineX + side * 4.5;
            const qreal x1 = spineX + side * (line == lines - 1 ? pageWidth * 0.6 : pageWidth - 4.0);
            QPainterPath text;
            text.moveTo(x0, y + 0.6);
            text.quadTo((x0 + x1) / 2, y - 1.2, x1, y - 0.6);
            p.drawPath(text);
        }
    }
    p.setPen(QPen(kNavy, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(spineX, top + 3), QPointF(spineX, bottom));
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
