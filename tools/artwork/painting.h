// Velmora artwork generator: small painting helpers shared by the pictures
// that need soft shading, stars or hatching.

#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRandomGenerator>
#include <QRectF>

class QPainter;

namespace artwork {

// Copy of `c` with the given alpha (clamped to 0..255).
QColor withAlpha(QColor c, int alpha);

// Straight mix of two colours; t = 0 gives a, t = 1 gives b.
QColor mixColours(const QColor &a, const QColor &b, qreal t);

// Normally distributed number (mean 0, deviation 1).
qreal gaussian(QRandomGenerator &rng);

// A star outline with `points` tips, the first pointing straight up unless
// `rotationDegrees` turns it.
QPolygonF starPolygon(const QPointF &centre, qreal outer, qreal inner, int points, qreal rotationDegrees = 0.0);

// A transparent ARGB layer the size of `size`, for painting shading that is
// blurred before it is laid on the picture.
QImage transparentLayer(const QSize &size);

// Soft blur (three box passes, close to a Gaussian of the given radius) of a
// premultiplied ARGB image. Works in place.
void blurLayer(QImage &layer, qreal radius);

// Fills `area` with parallel hatching lines `spacing` apart at `angleDegrees`
// (in the painter's current coordinates).
void hatch(QPainter &p, const QPainterPath &area, qreal angleDegrees, qreal spacing, const QPen &pen);

// Gentle canvas/paper grain: lightens or darkens pixels inside `rect` by up to
// `strength` levels, using value noise so neighbouring pixels agree.
void addGrain(QImage &image, const QRect &rect, int strength, quint32 seed, qreal cellSize = 3.0);

// The publisher's emblem: an open book with a navy cover showing under its two pages,
// lines of print and the spine's crease. The first line of print lies `firstLine`
// below `top`, the others `lineStep` apart.
void paintOpenBook(QPainter &p, qreal spineX, qreal top, qreal bottom, qreal pageWidth, qreal firstLine,
                   qreal lineStep);

} // namespace artwork
