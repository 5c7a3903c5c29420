#pragma once

// What the metafile suites share: reading a page, drawing it, and finding its ink.
#include "platform/metafile.h"
#include "toolkit/picture.h"

#include <QFile>
#include <QPainter>
#include <QTest>

#include <cmath>

// Fails with the description of what is wrong, when there is one.
#define VERIFY_NOTHING_WRONG(description) QVERIFY2((description).isEmpty(), qPrintable(description))

namespace velmora::test {

// A file's bytes; empty when it cannot be read.
inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A metafile as the program reads it; a refusal is logged and leaves a null picture.
inline Picture loadWmf(const QByteArray &bytes, const QString &source = QStringLiteral("test.wmf"))
{
    const MetafileResult result = loadMetafile(bytes, source);
    if (!result.error.isEmpty())
        qWarning("%s", qPrintable(result.error));
    return result.picture;
}

// A picture drawn at `twipsPerUnit` twips a pixel on white, as the screens show it: from
// the rendering it keeps, or from its vectors as a painter that scales draws it.
inline QImage renderOnWhite(const Picture &picture, double twipsPerUnit = 15, bool fromVectors = false)
{
    const QSizeF size = picture.sizeTwips() / twipsPerUnit;
    QImage image(int(std::ceil(size.width())), int(std::ceil(size.height())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (fromVectors)
        painter.scale(2, 2);
    picture.draw(painter, QPointF(0, 0), fromVectors ? 2 * twipsPerUnit : twipsPerUnit);
    return image;
}

// Whether two colours agree within `tolerance` in each channel (smoothed edges).
inline bool nearColour(QColor a, QColor b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// The box of the pixels close to `color` (inside `area` when one is given), each pixel
// counting as `unitsPerPixel` units of the caller's.
inline QRectF inkOf(const QImage &image, QColor color, double unitsPerPixel = 1, int tolerance = 60, QRect area = {})
{
    area = area.isNull() ? image.rect() : area;
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (nearColour(image.pixelColor(x, y), color, tolerance))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return {QPointF(ink.topLeft()) * unitsPerPixel, QSizeF(ink.size()) * unitsPerPixel};
}

// How many rows of the column at `x`, from `from` to `to`, a dark line covers (smoothed
// edges count by their share of ink).
inline double darkRows(const QImage &image, int x, int from, int to)
{
    double sum = 0;
    for (int y = from; y <= to; ++y)
        sum += (255 - image.pixelColor(x, y).red()) / 255.0;
    return sum;
}

// Unless each edge of `got` is within `tolerance` of `want`'s (the right edge within
// `rightTolerance` when given), both boxes' corners.
inline QString edgesOff(const QRectF &got, const QRectF &want, double tolerance, double rightTolerance = -1)
{
    const auto corners = [](const QRectF &r) {
        return QStringLiteral("(%1, %2)-(%3, %4)").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom());
    };
    const bool near = std::abs(got.left() - want.left()) <= tolerance && std::abs(got.top() - want.top()) <= tolerance
                      && std::abs(got.bottom() - want.bottom()) <= tolerance
                      && std::abs(got.right() - want.right()) <= (rightTolerance < 0 ? tolerance : rightTolerance);
    return near ? QString() : QStringLiteral("ink %1, expected %2").arg(corners(got), corners(want));
}

// The drawing programs' exports, with the drawings they were made from.
inline const QString kFixtures = QStringLiteral(VELMORA_SOURCE_TESTDATA "/metafiles/");

// A page exported by a drawing program, or another file of tests/data/metafiles.
inline Picture exported(const QString &file)
{
    return loadWmf(bytesOf(kFixtures + file), file);
}

} // namespace velmora::test
