#include "modAddPicToRTB.h"

#include "ImageList.h"
#include "ReadingView.h"

namespace modAddPicToRTB {

void AddPicToRTB(ReadingView &RTB, const ImageList &IMG, const std::int16_t &position)
{
    EmptyClipboard();
    RTB.insertPicture(IMG.picture(position, RTB.devicePixelRatio()));
}

} // namespace modAddPicToRTB
