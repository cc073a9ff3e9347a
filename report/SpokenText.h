#pragma once

#include <QList>
#include <QString>

class QTextDocument;

// What a screen reader hears of a document: its text, a line feed between paragraphs, with each
// picture read as its alternative text ("Algiz rune stone") where the document holds one object
// character for it. A picture without alternative text stays that character. Offsets into the
// spoken text and positions in the document map both ways.
class SpokenText
{
public:
    SpokenText() = default;
    explicit SpokenText(const QTextDocument &document);

    const QString &text() const { return m_text; }
    // The spoken offset of a document position: where a picture's name starts for the
    // picture's own position, the offset behind the name for the position behind it.
    int offset(int position) const;
    // The document position of a spoken offset. An offset within a picture's name stands for
    // the picture's own position, or with `behind` for the position after the picture.
    int position(int offset, bool behind = false) const;

private:
    struct Picture {
        int position; // in the document
        int offset; // where its name starts in the spoken text
        int length; // of its name
    };
    // The last picture before the document position; the last whose name starts at or before
    // the spoken offset.
    const Picture *pictureBeforePosition(int position) const;
    const Picture *pictureBeforeOffset(int offset) const;

    QString m_text;
    QList<Picture> m_pictures; // in document order
};
