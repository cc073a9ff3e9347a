#include "modAddPicToRTB.h"

#include "ImageList.h"
#include "ReadingView.h"

#include <QClipboard>
#include <QGuiApplication>

namespace modAddPicToRTB {

void AddPicToRTB(ReadingView &RTB, const ImageList &IMG, const std::int16_t &position)
{
    EmptyClipboard();
    const QImage picture = IMG.picture(position, RTB.devicePixelRatio());
    if (!picture.isNull())
        QGuiApplication::clipboard()->setImage(picture);
    RTB.paste();
}

} // namespace modAddPicToRTB
