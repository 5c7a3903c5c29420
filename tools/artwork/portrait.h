// Velmora artwork generator: what the files painting Ardovin Sevrani's
// portrait share (portrait.cpp puts the parts together; the head, the dress
// and the frame each have a file of their own).
//
// Everything is painted in picture units on a painter already scaled by
// kScale, and the rng is passed along in painting order so the strokes fall
// where they always have.

#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRandomGenerator>
#include <QRectF>

#include <functional>
#include <vector>

class QPainter;

namespace artwork::portrait {

constexpr int kWidth = 240;
constexpr int kHeight = 330;
constexpr int kScale = 2; // painting resolution relative to the final picture

// The painted canvas inside the frame.
constexpr qreal kFrameWidth = 17.0;
inline const QRectF kCanvas(kFrameWidth, kFrameWidth, kWidth - 2 * kFrameWidth, kHeight - 2 * kFrameWidth);

// --- Layers and strokes ------------------------------------------------------------

// A blurred painting layer: `paint` draws on it (in picture units), the
// layer is blurred by `radius` (picture units) and laid over `target`,
// clipped to `clip` if it is not empty.
void softLayer(QImage &target, qreal radius, const QPainterPath &clip, const std::function<void(QPainter &)> &paint);

// Hair-like strokes filling `area`, each following `flow` (a direction for
// a point) for `length` units.
struct StrandStyle {
    int count;
    qreal length;
    qreal width;
    std::vector<QColor> colours;
    int alphaMin;
    int alphaMax;
    qreal wander; // random bend per step, in radians
};

void paintStrands(QPainter &p, QRandomGenerator &rng, const QPainterPath &area, const StrandStyle &style,
                  const std::function<QPointF(const QPointF &)> &flow);

QPointF normalised(const QPointF &v);

// --- The parts, in the order they are painted ------------------------------------------
//
// The parts that lay soft layers end the painter on `image` and begin it
// again, scaled, before they return.

// Head (portraithead.cpp).
void paintHair(QPainter &p, QImage &image, QRandomGenerator &rng);
void paintFace(QPainter &p, QImage &image);
void paintFrontHair(QPainter &p, QRandomGenerator &rng);
void paintFeatures(QPainter &p, QRandomGenerator &rng);
void paintBeard(QPainter &p, QImage &image, QRandomGenerator &rng);

// Dress (portraitdress.cpp): the doublet, the fur-trimmed gown and the ruff.
void paintBody(QPainter &p, QImage &image, QRandomGenerator &rng);
void paintRuff(QPainter &p, QImage &image);

// Gilt frame round the canvas (portraitframe.cpp).
void paintFrame(QPainter &p);

} // namespace artwork::portrait
