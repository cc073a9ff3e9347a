#include "drawing.h"

#include <QColor>
#include <QtMath>

namespace drawing {

namespace {

QImage scaledCanvas(int width, int height, QImage::Format format, int scale)
{
    QImage image(width * scale, height * scale, format);
    image.setDotsPerMeterX(kDotsPerMetre72Dpi * scale);
    image.setDotsPerMeterY(kDotsPerMetre72Dpi * scale);
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace

QImage opaqueCanvas(int width, int height, const QColor &fill, int scale)
{
    // RGB32 keeps the JPEG writer on its three-component (colour) path, never grayscale.
    QImage image = scaledCanvas(width, height, QImage::Format_RGB32, scale);
    image.fill(fill);
    return image;
}

QImage transparentCanvas(int size, int scale)
{
    QImage image = scaledCanvas(size, size, QImage::Format_ARGB32_Premultiplied, scale);
    image.fill(Qt::transparent);
    return image;
}

QPainterPath smoothClosedPath(const QList<QPointF> &points)
{
    QPainterPath path;
    const qsizetype n = points.size();
    if (n < 3)
        return path;

    path.moveTo(points.at(0));
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF &p0 = points.at((i + n - 1) % n);
        const QPointF &p1 = points.at(i);
        const QPointF &p2 = points.at((i + 1) % n);
        const QPointF &p3 = points.at((i + 2) % n);
        // Uniform Catmull-Rom: the tangent at a point is half the chord of its neighbours.
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    path.closeSubpath();
    return path;
}

QPointF polar(QPointF centre, qreal radius, qreal angleDegrees)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    return centre + QPointF(radius * qSin(a), -radius * qCos(a));
}

QPainterPath petal(
    QPointF centre, qreal angleDegrees, qreal inner, qreal outer, qreal halfWidth, qreal bulge)
{
    // Built pointing up around the origin, then rotated and moved into place. The control points
    // sit outside the petal so that the curve itself reaches about `halfWidth` at its widest.
    const qreal length = outer - inner;
    const qreal nearBase = -inner - length * bulge * 0.6;
    const qreal nearTip = -outer + length * 0.2;
    QPainterPath shape;
    shape.moveTo(0, -inner);
    shape.cubicTo(-halfWidth * 1.8, nearBase, -halfWidth * 0.8, nearTip, 0, -outer);
    shape.cubicTo(halfWidth * 0.8, nearTip, halfWidth * 1.8, nearBase, 0, -inner);
    shape.closeSubpath();

    QTransform transform;
    transform.translate(centre.x(), centre.y());
    transform.rotate(angleDegrees);
    return transform.map(shape);
}

QPainterPath petalRing(
    QPointF centre, int count, qreal startDegrees, qreal inner, qreal outer, qreal halfWidth)
{
    QPainterPath ring;
    ring.setFillRule(Qt::WindingFill);
    for (int i = 0; i < count; ++i)
        ring.addPath(petal(centre, startDegrees + 360.0 * i / count, inner, outer, halfWidth));
    return ring;
}

QPainterPath triangle(QPointF centre, qreal radius, bool down)
{
    const qreal start = down ? 180.0 : 0.0;
    QPainterPath path;
    path.moveTo(polar(centre, radius, start));
    path.lineTo(polar(centre, radius, start + 120.0));
    path.lineTo(polar(centre, radius, start + 240.0));
    path.closeSubpath();
    return path;
}

} // namespace drawing
