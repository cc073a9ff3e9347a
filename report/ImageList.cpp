#include "ImageList.h"

#include "Style.h"
#include "modVeyloom.h"

QString ImageList::key(int position)
{
    if (position < 1 || position > Count)
        return {};
    return QString::fromUtf8(modVeyloom::kRuneNames[position - 1]).toLower()
        + QStringLiteral(".jpg");
}

QImage ImageList::picture(int position, qreal devicePixelRatio) const
{
    if (position < 1 || position > Count)
        return {};
    QImage &picture = (devicePixelRatio > 1 ? m_largerPictures : m_pictures)[position - 1];
    if (picture.isNull()) {
        picture = Style::sharpPicture(QStringLiteral(":/runes/") + key(position), devicePixelRatio);
        picture.setText(DescriptionKey,
            QString::fromUtf8(modVeyloom::kRuneNames[position - 1])
                + QStringLiteral(" rune stone"));
    }
    return picture;
}
