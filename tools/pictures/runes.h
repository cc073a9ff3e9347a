#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

// The 18 runes the program reads, as stroke drawings of their Elder Futhark signs.
namespace runes {

// One sign: each stroke is a polyline in a unit box (x 0..1 across, y 0..1 down).
struct RuneSign {
    QString key;
    QList<QList<QPointF>> strokes;
};

// The runes in the order the program stores them (alphabetical by key).
const QList<RuneSign> &signs();

// The finished picture of one rune: its sign on a grey pebble on white, 113 x 151 pixels times
// `scale` (1, or 2 for the drawing at twice the size). `index` selects both the sign and the
// stone's seed, so every stone differs but re-running draws exactly the same picture.
QImage renderRuneStone(int index, int scale = 1);

constexpr int kWidth = 113;
constexpr int kHeight = 151;

} // namespace runes
