#include "stone.h"

#include "drawing.h"

#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <cmath>

namespace stone {

namespace {

// The texture's two knobs. They also set the JPEG size: fine detail costs bytes at a given
// quality, so they are tuned for the rune files to land at a high quality (about 90) inside
// their byte window. Grain is the per-pixel roughness, in grey levels either way.
constexpr int kSpeckCount = 700;
constexpr int kGrainLevels = 12;

qreal uniform(QRandomGenerator &rng, qreal low, qreal high)
{
    return low + rng.bounded(high - low);
}

QColor shifted(const QColor &base, int delta, int alpha = 255)
{
    return QColor(qBound(0, base.red() + delta, 255), qBound(0, base.green() + delta, 255),
        qBound(0, base.blue() + delta, 255), alpha);
}

// Outline points: a squarish ellipse (superellipse) bent by a few low harmonics, so the shape
// is smooth like a worn pebble but never a perfect oval.
QList<QPointF> outlinePoints(const Stone &stone, QRandomGenerator &rng)
{
    struct Harmonic {
        int order;
        qreal amplitude;
        qreal phase;
    };
    const Harmonic harmonics[] = {
        { 2, uniform(rng, 0.02, 0.05), uniform(rng, 0, 2 * M_PI) },
        { 3, uniform(rng, 0.015, 0.04), uniform(rng, 0, 2 * M_PI) },
        { 4, uniform(rng, 0.005, 0.02), uniform(rng, 0, 2 * M_PI) },
        { 5, uniform(rng, 0.0, 0.012), uniform(rng, 0, 2 * M_PI) },
    };
    const qreal exponent = uniform(rng, 2.2, 2.9);

    QTransform tilt;
    tilt.translate(stone.centre.x(), stone.centre.y());
    tilt.rotate(stone.tiltDegrees);

    constexpr int samples = 40;
    QList<QPointF> points;
    for (int i = 0; i < samples; ++i) {
        const qreal t = 2 * M_PI * i / samples;
        qreal radius = 1.0;
        for (const Harmonic &h : harmonics)
            radius += h.amplitude * qCos(h.order * t + h.phase);
        const qreal c = qCos(t);
        const qreal s = qSin(t);
        const qreal x = std::copysign(qPow(qAbs(c), 2.0 / exponent), c) * stone.radiusX;
        const qreal y = std::copysign(qPow(qAbs(s), 2.0 / exponent), s) * stone.radiusY;
        points << tilt.map(QPointF(x, y) * radius);
    }
    return points;
}

// Shrinks the points about `centre` just enough to keep a margin inside `canvas`.
void fitInside(QList<QPointF> &points, QPointF centre, const QRectF &canvas)
{
    qreal scale = 1.0;
    for (const QPointF &p : points) {
        const QPointF d = p - centre;
        if (d.x() > 0)
            scale = qMin(scale, (canvas.right() - centre.x()) / d.x());
        if (d.x() < 0)
            scale = qMin(scale, (canvas.left() - centre.x()) / d.x());
        if (d.y() > 0)
            scale = qMin(scale, (canvas.bottom() - centre.y()) / d.y());
        if (d.y() < 0)
            scale = qMin(scale, (canvas.top() - centre.y()) / d.y());
    }
    for (QPointF &p : points)
        p = centre + (p - centre) * scale;
}

void paintBody(QPainter &painter, const Stone &stone)
{
    // Light falls from the upper left: bright there, darker towards the lower right edge.
    const qreal reach = 1.25 * qMax(stone.radiusX, stone.radiusY);
    const QPointF lit = stone.centre + QPointF(-0.35 * stone.radiusX, -0.4 * stone.radiusY);
    QRadialGradient shade(stone.centre, reach, lit);
    shade.setColorAt(0.0, shifted(stone.tone, 38));
    shade.setColorAt(0.55, stone.tone);
    shade.setColorAt(1.0, shifted(stone.tone, -42));
    painter.fillPath(stone.outline, shade);
}

void paintMottling(QPainter &painter, const Stone &stone, QRandomGenerator &rng)
{
    // Broad, soft patches of lighter and darker mineral: cheap in JPEG, big effect on realism.
    const QRectF area = stone.outline.boundingRect();
    for (int i = 0; i < 10; ++i) {
        const QPointF at(
            uniform(rng, area.left(), area.right()), uniform(rng, area.top(), area.bottom()));
        const qreal radius = uniform(rng, 9, 24);
        const int delta = rng.bounded(2) ? 16 : -16;
        QRadialGradient patch(at, radius);
        patch.setColorAt(0.0, shifted(stone.tone, delta, 90));
        patch.setColorAt(1.0, shifted(stone.tone, delta, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(patch);
        painter.drawEllipse(at, radius, radius);
    }
}

void paintGrit(QPainter &painter, const Stone &stone, QRandomGenerator &rng)
{
    // Fine specks: mostly dark grains, some light ones and a few warm flecks.
    const QRectF area = stone.outline.boundingRect();
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kSpeckCount; ++i) {
        const QPointF at(
            uniform(rng, area.left(), area.right()), uniform(rng, area.top(), area.bottom()));
        const qreal radius = uniform(rng, 0.35, 1.05);
        const int kind = rng.bounded(10);
        QColor colour;
        if (kind < 6)
            colour = shifted(stone.tone, -50, 40 + rng.bounded(80));
        else if (kind < 9)
            colour = shifted(stone.tone, 48, 40 + rng.bounded(90));
        else
            colour = QColor(150, 118, 86, 60 + rng.bounded(60));
        painter.setBrush(colour);
        painter.drawEllipse(at, radius, radius);
    }
}

void paintGrain(QPainter &painter, const Stone &stone, QRandomGenerator &rng)
{
    // A per-pixel layer of faint light and dark noise: the granular surface of real stone. Its
    // pixels are logical ones (2 x 2 on a canvas of twice the size), so the texture, and every
    // random number drawn after it, stay the same at any scale.
    const QRect area = stone.outline.boundingRect().toAlignedRect();
    QImage grain(area.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < grain.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grain.scanLine(y));
        for (int x = 0; x < grain.width(); ++x) {
            const int level = rng.bounded(2 * kGrainLevels + 1) - kGrainLevels;
            const int alpha = qAbs(level) * 255 / 100; // each level is about 1 % of the range
            line[x] = level > 0 ? qRgba(alpha, alpha, alpha, alpha) : qRgba(0, 0, 0, alpha);
        }
    }
    painter.drawImage(area.topLeft(), grain);
}

void paintRimAndHighlight(QPainter &painter, const Stone &stone)
{
    // Stacked soft strokes darken the inside of the edge, so the pebble reads as rounded.
    painter.setBrush(Qt::NoBrush);
    for (const qreal width : { 16.0, 10.0, 5.0 }) {
        painter.setPen(QPen(shifted(stone.tone, -60, 26), width));
        painter.drawPath(stone.outline);
    }

    const QPointF at = stone.centre + QPointF(-0.38 * stone.radiusX, -0.48 * stone.radiusY);
    const qreal radius = 0.55 * stone.radiusX;
    QRadialGradient gleam(at, radius);
    gleam.setColorAt(0.0, QColor(255, 255, 255, 70));
    gleam.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gleam);
    painter.drawEllipse(at, radius, radius);
}

} // namespace

Stone makeStone(const QRectF &canvas, QRandomGenerator &rng)
{
    Stone stone;
    stone.centre = canvas.center() + QPointF(uniform(rng, -1.5, 1.5), uniform(rng, -2.0, 2.0));
    stone.radiusX = uniform(rng, 44.0, 50.0);
    stone.radiusY = uniform(rng, 62.0, 69.0);
    stone.tiltDegrees = uniform(rng, -5.0, 5.0);

    // Grey, with a faint warm or cool cast that differs from stone to stone.
    const int grey = 134 + rng.bounded(34);
    const int warmth = rng.bounded(11) - 3;
    stone.tone = QColor(grey + warmth, grey + warmth / 3, grey - warmth);

    QList<QPointF> points = outlinePoints(stone, rng);
    fitInside(points, stone.centre, canvas.adjusted(3, 3, -3, -3));
    stone.outline = drawing::smoothClosedPath(points);
    return stone;
}

void paintStone(QPainter &painter, const Stone &stone, QRandomGenerator &rng)
{
    painter.save();
    paintBody(painter, stone);

    painter.setClipPath(stone.outline);
    paintMottling(painter, stone, rng);
    paintGrit(painter, stone, rng);
    paintGrain(painter, stone, rng);
    paintRimAndHighlight(painter, stone);
    painter.setClipping(false);

    painter.setPen(QPen(shifted(stone.tone, -78), 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(stone.outline);
    painter.restore();
}

} // namespace stone
