#include "icon.h"

#include "drawing.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace icon {

namespace {

// Everything is drawn on a 256-unit square and scaled down to the target size.
constexpr qreal kUnits = 256.0;
const QPointF kCentre(kUnits / 2, kUnits / 2);

// Small icons drop the second petal ring and the outlines, and get a larger disc and a bolder,
// wider rune, so the rune still reads at 16 px. Lengths are in the 256 units.
struct Detail {
    bool innerRing;
    qreal petalHalfWidth; // of the outer ring
    qreal edgeWidth; // 0 = no outlines
    qreal discRadius;
    qreal runeHalfHeight; // the stave runs this far above and below the centre
    qreal armSpread; // how far the arm tips reach sideways from the stave
    qreal forkOffset; // where the arms meet the stave, relative to the centre
};

Detail detailFor(int size)
{
    if (size <= 24)
        return { false, 44.0, 0.0, 86.0, 60.0, 64.0, 12.0 };
    if (size <= 48)
        return { false, 38.0, 6.0, 80.0, 56.0, 48.0, -4.0 };
    return { true, 36.0, 3.0, 66.0, 44.0, 36.0, -4.0 };
}

// The rune's stroke in whole pixels (2 at 16 px, 16 at 256 px), always an even number: the stave
// sits on the icon's middle, a pixel edge, so it then covers whole pixel columns and stays crisp.
qreal runeStrokePixels(int size)
{
    return qMax(2.0, 2.0 * std::round(size / 32.0));
}

QPen edgePen(const QColor &colour, qreal width)
{
    return width > 0 ? QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                     : QPen(Qt::NoPen);
}

void paintPetals(QPainter &painter, const Detail &detail)
{
    // Outer ring: deep orange at the heart warming to gold at the tips.
    QRadialGradient outerFill(kCentre, 124.0);
    outerFill.setColorAt(0.35, QColor(214, 72, 20));
    outerFill.setColorAt(1.0, QColor(252, 176, 48));
    painter.setPen(edgePen(QColor(128, 36, 10), detail.edgeWidth));
    painter.setBrush(outerFill);
    painter.drawPath(drawing::petalRing(kCentre, 8, 0.0, 40.0, 124.0, detail.petalHalfWidth));

    if (!detail.innerRing)
        return;
    // Inner ring, turned half a step, lighter so the lotus gets depth.
    QRadialGradient innerFill(kCentre, 104.0);
    innerFill.setColorAt(0.4, QColor(240, 128, 30));
    innerFill.setColorAt(1.0, QColor(255, 214, 102));
    painter.setPen(edgePen(QColor(150, 56, 12), detail.edgeWidth));
    painter.setBrush(innerFill);
    painter.drawPath(drawing::petalRing(kCentre, 8, 22.5, 40.0, 104.0, 26.0));
}

void paintDisc(QPainter &painter, const Detail &detail)
{
    QRadialGradient fill(kCentre - QPointF(18, 22), detail.discRadius * 1.3);
    fill.setColorAt(0.0, QColor(255, 248, 226));
    fill.setColorAt(1.0, QColor(250, 208, 120));
    painter.setPen(edgePen(QColor(140, 60, 16), detail.edgeWidth > 0 ? detail.edgeWidth + 2 : 0));
    painter.setBrush(fill);
    painter.drawEllipse(kCentre, detail.discRadius, detail.discRadius);
}

void paintAlgiz(QPainter &painter, const Detail &detail, qreal strokeUnits)
{
    // Algiz: a stave with two arms rising from it, centred on the disc.
    const qreal top = kCentre.y() - detail.runeHalfHeight;
    const qreal fork = kCentre.y() + detail.forkOffset;
    painter.setPen(QPen(Qt::black, strokeUnits, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(
        QPointF(kCentre.x(), top), QPointF(kCentre.x(), kCentre.y() + detail.runeHalfHeight));
    QPolygonF arms;
    arms << QPointF(kCentre.x() - detail.armSpread, top) << QPointF(kCentre.x(), fork)
         << QPointF(kCentre.x() + detail.armSpread, top);
    painter.drawPolyline(arms);
}

} // namespace

const QList<int> &sizes()
{
    static const QList<int> all { 16, 32, 48, 64, 128, 256 };
    return all;
}

QImage renderIcon(int size, int scale)
{
    const Detail detail = detailFor(size);
    QImage image = drawing::transparentCanvas(size, scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);

    paintPetals(painter, detail);
    paintDisc(painter, detail);
    paintAlgiz(painter, detail, runeStrokePixels(size) * kUnits / size);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace icon
