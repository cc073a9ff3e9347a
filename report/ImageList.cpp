#include "ImageList.h"

#include "modVeyloom.h"

QString ImageList::key(int position)
{
    if (position < 1 || position > Count)
        return {};
    return QString::fromUtf8(modVeyloom::kRuneNames[position - 1]).toLower()
        + QStringLiteral(".jpg");
}

QImage ImageList::picture(int position) const
{
    if (position < 1 || position > Count)
        return {};
    QImage &picture = m_pictures[position - 1];
    if (picture.isNull()) {
        picture.load(QStringLiteral(":/runes/") + key(position));
        picture.setText(DescriptionKey,
            QStringLiteral("Rune stone ")
                + QString::fromUtf8(modVeyloom::kRuneNames[position - 1]));
    }
    return picture;
}
