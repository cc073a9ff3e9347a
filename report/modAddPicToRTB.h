#pragma once

#include <cstdint>

class ImageList;
class ReadingView;

namespace modAddPicToRTB {

// Empties the system clipboard, then puts the picture at the 1-based position of the image list
// into the view at its insertion point and leaves the insertion point behind it. The picture
// goes into the view's document directly, never through the clipboard. A position with no
// picture inserts nothing.
void AddPicToRTB(ReadingView &RTB, const ImageList &IMG, const std::int16_t &position);

} // namespace modAddPicToRTB
