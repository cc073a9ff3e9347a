#include "runes.h"

#include "drawing.h"
#include "stone.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTransform>

namespace runes {

namespace {

using Stroke = QList<QPointF>;

// Strokes of the traditional Elder Futhark shapes. A stave is the full-height vertical; branches
// hang off it. Coordinates are fractions of the rune's box so every sign shares one scale.
const Stroke kFullStave { { 0.5, 0.0 }, { 0.5, 1.0 } };

RuneSign sign(const char *key, QList<Stroke> strokes)
{
    return RuneSign { QString::fromLatin1(key), std::move(strokes) };
}

QList<RuneSign> buildSigns()
{
    return {
        // ᛉ elk sedge: a stave with two arms rising from its middle.
        sign("algiz", { kFullStave, { { 0.04, 0.0 }, { 0.5, 0.42 }, { 0.96, 0.0 } } }),
        // ᚨ a stave with two branches sloping down to the right from its top half.
        sign("ansuz",
            { { { 0.2, 0.0 }, { 0.2, 1.0 } }, { { 0.2, 0.0 }, { 0.84, 0.3 } },
                { { 0.2, 0.3 }, { 0.84, 0.6 } } }),
        // ᛒ a stave with two pointed bowls on the right.
        sign("berkano",
            { { { 0.2, 0.0 }, { 0.2, 1.0 } },
                { { 0.2, 0.0 }, { 0.8, 0.25 }, { 0.2, 0.5 }, { 0.8, 0.75 }, { 0.2, 1.0 } } }),
        // ᛇ a stave, its top hooked down to the right and its foot up to the left.
        sign("eihwas",
            { kFullStave, { { 0.5, 0.0 }, { 0.9, 0.26 } }, { { 0.5, 1.0 }, { 0.1, 0.74 } } }),
        // ᚠ a stave with two branches rising to the right.
        sign("fehu",
            { { { 0.2, 0.0 }, { 0.2, 1.0 } }, { { 0.2, 0.3 }, { 0.84, 0.0 } },
                { { 0.2, 0.6 }, { 0.84, 0.3 } } }),
        // ᚷ a tall cross.
        sign("gebo", { { { 0.0, 0.08 }, { 1.0, 0.92 } }, { { 1.0, 0.08 }, { 0.0, 0.92 } } }),
        // ᚺ two staves joined by one bar sloping down to the right.
        sign("hagalaz",
            { { { 0.08, 0.0 }, { 0.08, 1.0 } }, { { 0.92, 0.0 }, { 0.92, 1.0 } },
                { { 0.08, 0.34 }, { 0.92, 0.62 } } }),
        // ᛁ a single stave.
        sign("isa", { kFullStave }),
        // ᛃ two interlocking angles: one opening right at the top, one opening left below.
        sign("jera",
            { { { 0.46, 0.06 }, { 0.1, 0.35 }, { 0.46, 0.64 } },
                { { 0.54, 0.36 }, { 0.9, 0.65 }, { 0.54, 0.94 } } }),
        // ᚲ an angle opening to the right.
        sign("kenaz", { { { 0.84, 0.12 }, { 0.2, 0.5 }, { 0.84, 0.88 } } }),
        // ᛚ a stave with one branch sloping down to the right from its top.
        sign("laguz", { { { 0.26, 0.0 }, { 0.26, 1.0 } }, { { 0.26, 0.0 }, { 0.86, 0.36 } } }),
        // ᛗ two staves whose tops cross over to the middle of each other.
        sign("mannaz",
            { { { 0.06, 0.0 }, { 0.06, 1.0 } }, { { 0.94, 0.0 }, { 0.94, 1.0 } },
                { { 0.06, 0.0 }, { 0.94, 0.44 } }, { { 0.94, 0.0 }, { 0.06, 0.44 } } }),
        // ᚾ a stave crossed by one bar sloping down to the right.
        sign("nauthiz", { kFullStave, { { 0.1, 0.34 }, { 0.9, 0.6 } } }),
        // ᚱ a stave with a pointed bowl and a leg kicking out to the right.
        sign("raidho",
            { { { 0.2, 0.0 }, { 0.2, 1.0 } },
                { { 0.2, 0.0 }, { 0.82, 0.25 }, { 0.2, 0.5 }, { 0.82, 1.0 } } }),
        // ᛊ the sun's lightning zigzag of three strokes.
        sign("sowilo", { { { 0.86, 0.0 }, { 0.14, 0.34 }, { 0.86, 0.66 }, { 0.14, 1.0 } } }),
        // ᚦ a stave with a pointed thorn on the right.
        sign("thurisaz",
            { { { 0.22, 0.0 }, { 0.22, 1.0 } },
                { { 0.22, 0.25 }, { 0.82, 0.5 }, { 0.22, 0.75 } } }),
        // ᛏ a stave topped by an arrowhead.
        sign("tiwas", { kFullStave, { { 0.04, 0.3 }, { 0.5, 0.0 }, { 0.96, 0.3 } } }),
        // ᚢ a stave whose top slopes down to a shorter second stave.
        sign("uruz", { { { 0.14, 1.0 }, { 0.14, 0.0 }, { 0.86, 0.3 }, { 0.86, 1.0 } } }),
    };
}

// Fixed seed base: changing it reshapes every stone, so it stays constant.
constexpr quint32 kSeedBase = 0x5eed0000u;

void drawSign(QPainter &painter, const RuneSign &sign, const QRectF &box, qreal tiltDegrees,
    QRandomGenerator &rng)
{
    // A small tilt and sub-pixel wobble make the strokes look painted by hand while the shape
    // stays exact enough to read.
    QTransform toBox;
    toBox.translate(box.center().x(), box.center().y());
    toBox.rotate(tiltDegrees);
    toBox.translate(-box.width() / 2, -box.height() / 2);
    toBox.scale(box.width(), box.height());

    QPen pen(QColor(14, 12, 11), 7.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const Stroke &stroke : sign.strokes) {
        QPolygonF line;
        for (const QPointF &p : stroke) {
            const QPointF wobble(rng.bounded(1.0) - 0.5, rng.bounded(1.0) - 0.5);
            line << toBox.map(p) + wobble * 0.9;
        }
        painter.drawPolyline(line);
    }
}

} // namespace

const QList<RuneSign> &signs()
{
    static const QList<RuneSign> all = buildSigns();
    return all;
}

QImage renderRuneStone(int index, int scale)
{
    QRandomGenerator rng(kSeedBase + quint32(index) * 7919u);
    QImage image = drawing::opaqueCanvas(kWidth, kHeight, Qt::white, scale);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const stone::Stone pebble = stone::makeStone(QRectF(0, 0, kWidth, kHeight), rng);
    stone::paintStone(painter, pebble, rng);

    // The sign fills a little over half the stone's height, centred on the stone's body.
    const qreal height = 80.0;
    const qreal width = 44.0;
    const QRectF box(pebble.centre.x() - width / 2, pebble.centre.y() - height / 2, width, height);
    drawSign(painter, signs().at(index), box, pebble.tiltDegrees * 0.5, rng);

    painter.end();
    return image;
}

} // namespace runes
