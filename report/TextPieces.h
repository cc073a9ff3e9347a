#pragma once

#include <QAccessible>
#include <QString>

// The pieces of a text a screen reader moves by, for every accessible text interface of the
// program: characters (grapheme clusters), words with the stretches between them, sentences and
// paragraphs, each paragraph running to and taking in its line feed; lines are paragraphs here,
// for a text that knows no lines on screen. Qt 6.4's generic answers loop for ever at the end of
// the text; these answer every offset. Offsets -1 and -2 stand for the end and for the caret.
class TextPieces
{
public:
    struct Piece {
        int start = -1; // -1 for none
        int end = -1;
    };

    TextPieces(const QString &text, int caret)
        : m_text(text)
        , m_caret(caret)
    { }

    // The piece at the offset; at the end of the text, the piece that ends there, but no
    // character. A text without pieces (an empty one) gives none.
    Piece at(int offset, QAccessible::TextBoundaryType boundary) const;
    // The piece that ends where the one at the offset starts, and the one that starts where it
    // ends; none before the first and after the last.
    Piece before(int offset, QAccessible::TextBoundaryType boundary) const;
    Piece after(int offset, QAccessible::TextBoundaryType boundary) const;

    // The piece's text, with its offsets written to start and end as the interface gives them.
    QString answer(Piece piece, int *start, int *end) const;

private:
    // The offset a screen reader means, or -1 outside the text.
    int resolved(int offset) const;
    // The piece around the offset, which lies within the text.
    Piece around(int offset, QAccessible::TextBoundaryType boundary) const;

    QString m_text;
    int m_caret;
};
