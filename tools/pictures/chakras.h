#pragma once

#include <QImage>
#include <QSize>

// The seven small chakra symbols shown on the program's light grey panel.
namespace chakras {

constexpr int kCount = 7;

// Pixel size of chakra<index>.jpg.
QSize pictureSize(int index);

// The symbol for `index` (0..6) on the panel grey, tagged 72 dpi.
QImage renderChakra(int index);

} // namespace chakras
