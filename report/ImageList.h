#pragma once

#include <QImage>
#include <QString>

#include <array>

// The rune pictures, by 1-based position: position p holds the picture of rune p - 1.
// Pictures are decoded when they are first asked for, not when the list is made.
class ImageList
{
public:
    static constexpr int Count = 18;
    // The picture's text entry that names the rune it shows, for screen readers.
    static inline const QString DescriptionKey = QStringLiteral("Description");

    // The picture at the position, or a null image for a position outside 1..Count. For a
    // screen of a device pixel ratio above 1, the same rune drawn at twice the size, which keeps
    // the picture's logical size.
    QImage picture(int position, qreal devicePixelRatio = 1) const;
    // The picture's key, its file name: the rune's name in lower case followed by ".jpg".
    static QString key(int position);

private:
    mutable std::array<QImage, Count> m_pictures;
    mutable std::array<QImage, Count> m_largerPictures;
};
