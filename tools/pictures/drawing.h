#pragma once

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>

// Small drawing helpers shared by the stones, the chakra symbols and the icon.
namespace drawing {

// 2835 dots per metre is what Qt turns into "72 dpi" in the JFIF header.
constexpr int kDotsPerMetre72Dpi = 2835;

// Canvases take the picture's size in logical pixels and a `scale` of 1, or 2 for the drawing at
// twice the size: the canvas then has `scale` times the pixels and density (72 or 144 dpi) and
// that device pixel ratio, so the same painting code draws the same picture on it, only finer.

// An opaque canvas filled with one colour.
QImage opaqueCanvas(int width, int height, const QColor &fill, int scale = 1);

// A transparent canvas (for PNG with alpha).
QImage transparentCanvas(int size, int scale = 1);

// A closed, smooth outline through the given points (Catmull-Rom turned into cubic Béziers),
// so a handful of jittered points becomes a pebble or blob without corners.
QPainterPath smoothClosedPath(const QList<QPointF> &points);

// A pointed lotus petal with its base at `centre + inner * direction` and its tip at
// `centre + outer * direction`; `halfWidth` is the widest half-width, reached at `bulge`
// (0..1 along the petal).
QPainterPath petal(QPointF centre, qreal angleDegrees, qreal inner, qreal outer, qreal halfWidth,
    qreal bulge = 0.45);

// A ring of `count` petals, the first one pointing at `startDegrees` (0 = up).
QPainterPath petalRing(
    QPointF centre, int count, qreal startDegrees, qreal inner, qreal outer, qreal halfWidth);

// An equilateral triangle around `centre`; pointing down when `down` is true.
QPainterPath triangle(QPointF centre, qreal radius, bool down);

// A point at `radius` from `centre`, `angleDegrees` measured clockwise from straight up.
QPointF polar(QPointF centre, qreal radius, qreal angleDegrees);

} // namespace drawing
