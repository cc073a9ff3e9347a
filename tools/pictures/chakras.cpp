#include "chakras.h"

#include "drawing.h"

#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

#include <array>
#include <cmath>

namespace chakras {

namespace {

using drawing::petalRing;
using drawing::triangle;

// The panel the symbols sit on; painting it in keeps the JPEG edges invisible there.
const QColor kPanelGrey(192, 192, 192);

// Fills `path` with `colour`, lighter towards `centre`, and gives it a thin darker edge so the
// tiny shapes stay separate from each other.
void fillShape(QPainter &painter, const QPainterPath &path, const QColor &colour, QPointF centre,
    qreal reach, qreal edgeWidth = 0.7)
{
    QRadialGradient glow(centre, reach);
    glow.setColorAt(0.0, colour.lighter(135));
    glow.setColorAt(1.0, colour);
    painter.setPen(QPen(colour.darker(170), edgeWidth));
    painter.setBrush(glow);
    painter.drawPath(path);
}

// The common frame of the round symbols: a ring of petals around a disc.
void petalledCircle(
    QPainter &painter, QPointF centre, int petals, const QColor &colour, qreal discRadius)
{
    const QPainterPath ring
        = petalRing(centre, petals, 0.0, discRadius - 3.0, 19.3, discRadius * 3.14 / petals + 0.6);
    fillShape(painter, ring, colour, centre, 20.0);
    QPainterPath disc;
    disc.addEllipse(centre, discRadius, discRadius);
    fillShape(painter, disc, colour.lighter(118), centre, discRadius, 0.9);
}

// A crescent opening upwards: a disc with a higher disc taken out of it.
QPainterPath crescent(QPointF centre, qreal radius)
{
    QPainterPath outer;
    outer.addEllipse(centre, radius, radius);
    QPainterPath bite;
    bite.addEllipse(centre - QPointF(0, radius * 0.45), radius * 0.92, radius * 0.92);
    return outer.subtracted(bite);
}

void rainbowFan(QPainter &painter, QSizeF size)
{
    // Nine petals fanning up from the bottom centre, hues running red to violet. Their lengths
    // follow a half-ellipse, long upwards and short sideways, so the fan fits the wide picture.
    const QPointF base(size.width() / 2, size.height() - 2.0);
    const qreal reachUp = size.height() - 4.0;
    const qreal reachSide = size.width() / 2 - 2.0;
    constexpr int petals = 9;
    for (int i = 0; i < petals; ++i) {
        const qreal angle = -76.0 + 152.0 * i / (petals - 1);
        const qreal a = qDegreesToRadians(angle);
        const qreal length = 1.0
            / std::sqrt(std::pow(std::sin(a) / reachSide, 2) + std::pow(std::cos(a) / reachUp, 2));
        const QColor colour = QColor::fromHsv(i * 280 / (petals - 1), 220, 235);
        fillShape(
            painter, drawing::petal(base, angle, 3.0, length, 4.0), colour, base, length, 0.6);
    }
    QPainterPath hub;
    hub.addEllipse(base, 4.5, 4.5);
    fillShape(painter, hub, QColor(235, 190, 60), base, 4.5);
}

void indigoWings(QPainter &painter, QSizeF size)
{
    // Two broad petals to the sides of a disc, with a white crescent and dot in the middle.
    const QPointF centre(size.width() / 2, size.height() / 2);
    const QColor indigo(72, 40, 150);
    QPainterPath wings;
    wings.addPath(drawing::petal(centre, -90.0, 6.0, 18.5, 7.0, 0.4));
    wings.addPath(drawing::petal(centre, 90.0, 6.0, 18.5, 7.0, 0.4));
    fillShape(painter, wings, indigo, centre, 20.0);
    QPainterPath disc;
    disc.addEllipse(centre, 10.5, 10.5);
    fillShape(painter, disc, indigo, centre, 10.5, 0.9);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(crescent(centre - QPointF(0, 1.0), 5.5));
    painter.drawEllipse(centre - QPointF(0, 3.6), 1.6, 1.6);
}

void violetCrown(QPainter &painter, QSizeF size)
{
    // Many petals in two rings: the outer ring pale, the inner ring deeper.
    const QPointF centre(size.width() / 2, size.height() / 2);
    const QColor violet(140, 60, 190);
    fillShape(painter, petalRing(centre, 20, 0.0, 8.0, 19.5, 2.4), violet.lighter(125), centre,
        20.0, 0.5);
    fillShape(painter, petalRing(centre, 12, 15.0, 4.0, 13.0, 2.8), violet, centre, 13.0, 0.6);
    QPainterPath heart;
    heart.addEllipse(centre, 4.2, 4.2);
    fillShape(painter, heart, QColor(240, 225, 250), centre, 4.2, 0.8);
}

void greenStar(QPainter &painter, QSizeF size)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const QColor green(40, 150, 70);
    petalledCircle(painter, centre, 12, green, 12.5);
    // Two interlaced triangles make the six-pointed star.
    QPainterPath star = triangle(centre, 9.5, false).united(triangle(centre, 9.5, true));
    painter.setPen(QPen(QColor(15, 80, 35), 1.1));
    painter.setBrush(QColor(200, 240, 200));
    painter.drawPath(star);
}

void blueTriangle(QPainter &painter, QSizeF size)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const QColor blue(40, 110, 200);
    petalledCircle(painter, centre, 16, blue, 12.5);
    painter.setPen(QPen(QColor(15, 45, 110), 1.1));
    painter.setBrush(QColor(205, 225, 250));
    painter.drawPath(triangle(centre + QPointF(0, 1.2), 10.0, true));
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue.darker(110));
    painter.drawEllipse(centre + QPointF(0, 0.6), 2.6, 2.6);
}

void orangeCrescent(QPainter &painter, QSizeF size)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const QColor orange(240, 130, 30);
    petalledCircle(painter, centre, 6, orange, 12.0);
    painter.setPen(QPen(QColor(150, 70, 10), 0.8));
    painter.setBrush(Qt::white);
    painter.drawPath(crescent(centre + QPointF(0, 1.5), 7.5));
}

void yellowTriangle(QPainter &painter, QSizeF size)
{
    const QPointF centre(size.width() / 2, size.height() / 2);
    const QColor yellow(235, 200, 30);
    petalledCircle(painter, centre, 10, yellow, 12.5);
    painter.setPen(QPen(QColor(150, 60, 10), 1.1));
    painter.setBrush(QColor(230, 90, 30));
    painter.drawPath(triangle(centre + QPointF(0, 1.2), 9.5, true));
}

} // namespace

QSize pictureSize(int index)
{
    switch (index) {
    case 0:
        return { 40, 30 };
    case 1:
        return { 40, 35 };
    default:
        return { 40, 40 };
    }
}

QImage renderChakra(int index, int scale)
{
    using Painter = void (*)(QPainter &, QSizeF);
    static constexpr std::array<Painter, kCount> painters {
        rainbowFan,
        indigoWings,
        violetCrown,
        greenStar,
        blueTriangle,
        orangeCrescent,
        yellowTriangle,
    };

    const QSize size = pictureSize(index);
    QImage image = drawing::opaqueCanvas(size.width(), size.height(), kPanelGrey, scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painters.at(index)(painter, QSizeF(size));
    painter.end();
    return image;
}

} // namespace chakras
