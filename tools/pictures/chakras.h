#pragma once

#include <QImage>
#include <QSize>

// The seven small chakra symbols shown on the program's light grey panel.
namespace chakras {

constexpr int kCount = 7;

// Pixel size of chakra<index>.jpg.
QSize pictureSize(int index);

// The symbol for `index` (0..6) on the panel grey, at `scale` (1, or 2 for twice the size).
QImage renderChakra(int index, int scale = 1);

} // namespace chakras
