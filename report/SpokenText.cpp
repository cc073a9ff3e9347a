#include "SpokenText.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

SpokenText::SpokenText(const QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            m_text += u'\n';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString name = format.isImageFormat()
                ? format.stringProperty(QTextFormat::ImageAltText)
                : QString();
            if (name.isEmpty()) {
                m_text += fragment.text();
                continue;
            }
            // Pictures side by side that share a format make one fragment, a character each.
            for (int i = 0; i < fragment.length(); ++i) {
                m_pictures.append(
                    { fragment.position() + i, int(m_text.size()), int(name.size()) });
                m_text += name;
            }
        }
    }
}

const SpokenText::Picture *SpokenText::pictureBeforePosition(int position) const
{
    const auto after = std::ranges::lower_bound(m_pictures, position, {}, &Picture::position);
    return after == m_pictures.begin() ? nullptr : &*(after - 1);
}

const SpokenText::Picture *SpokenText::pictureBeforeOffset(int offset) const
{
    const auto after = std::ranges::upper_bound(m_pictures, offset, {}, &Picture::offset);
    return after == m_pictures.begin() ? nullptr : &*(after - 1);
}

int SpokenText::offset(int position) const
{
    const Picture *picture = pictureBeforePosition(position);
    if (!picture)
        return position;
    return picture->offset + picture->length + (position - picture->position - 1);
}

int SpokenText::position(int offset, bool behind) const
{
    const Picture *picture = pictureBeforeOffset(offset);
    if (!picture || offset == picture->offset)
        return picture ? picture->position : offset;
    if (offset < picture->offset + picture->length)
        return picture->position + (behind ? 1 : 0);
    return picture->position + 1 + (offset - picture->offset - picture->length);
}
