#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;
class QRandomGenerator;

// A hand-made looking pebble: irregular rounded outline, shading, speckled texture, dark rim.
namespace stone {

struct Stone
{
    QPainterPath outline;
    QPointF centre;
    qreal radiusX = 0;
    qreal radiusY = 0;
    qreal tiltDegrees = 0;
    QColor tone;
};

// Picks this stone's outline, tilt and grey tone from `rng`, fitted inside `canvas`.
Stone makeStone(const QRectF &canvas, QRandomGenerator &rng);

// Paints the stone; the texture's randomness also comes from `rng`.
void paintStone(QPainter &painter, const Stone &stone, QRandomGenerator &rng);

} // namespace stone
