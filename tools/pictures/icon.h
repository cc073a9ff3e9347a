#pragma once

#include <QImage>
#include <QList>

// The application icon: a warm lotus of petals around a disc carrying a black Algiz rune.
namespace icon {

// The square sizes written as veyloom-<size>.png.
const QList<int> &sizes();

// The icon at `size` x `size` pixels with a transparent background; at `scale` 2 the same
// design (its detail chosen for `size`) on twice the pixels.
QImage renderIcon(int size, int scale = 1);

} // namespace icon
