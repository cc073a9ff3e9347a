#pragma once

#include <cstdint>

class ImageList;
class ReadingView;

namespace modAddPicToRTB {

// Puts the picture at the 1-based position of the image list into the view at its insertion
// point, by way of the system clipboard, and leaves the insertion point behind it. A position
// with no picture inserts nothing.
void AddPicToRTB(ReadingView &RTB, const ImageList &IMG, const std::int16_t &position);

} // namespace modAddPicToRTB
