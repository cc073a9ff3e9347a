#include "TextPieces.h"

#include <QTextBoundaryFinder>

#include <algorithm>

int TextPieces::resolved(int offset) const
{
    if (offset == -1)
        offset = int(m_text.size());
    else if (offset == -2)
        offset = m_caret;
    return offset >= 0 && offset <= m_text.size() ? offset : -1;
}

TextPieces::Piece TextPieces::around(int offset, QAccessible::TextBoundaryType boundary) const
{
    const int length = int(m_text.size());
    if (boundary == QAccessible::NoBoundary)
        return { 0, length };
    // Every kind of piece ends with its paragraph, so each is looked for within that alone.
    const int first = offset == 0 ? 0 : int(m_text.lastIndexOf(u'\n', offset - 1)) + 1;
    const qsizetype feed = m_text.indexOf(u'\n', offset);
    const int last = feed < 0 ? length : int(feed) + 1;
    if (boundary == QAccessible::ParagraphBoundary || boundary == QAccessible::LineBoundary)
        return { first, last };

    const QTextBoundaryFinder::BoundaryType type = boundary == QAccessible::WordBoundary
        ? QTextBoundaryFinder::Word
        : boundary == QAccessible::SentenceBoundary ? QTextBoundaryFinder::Sentence
                                                    : QTextBoundaryFinder::Grapheme;
    const QString paragraph = m_text.mid(first, last - first);
    QTextBoundaryFinder finder(type, paragraph);
    // Words are parted from what lies between them; inside that, between a space and a bracket
    // say, the finder's boundaries part nothing.
    const auto parts = [&] {
        return type != QTextBoundaryFinder::Word
            || (finder.boundaryReasons()
                & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem));
    };
    // Each step moves strictly on, and the paragraph's ends stop it.
    finder.setPosition(offset - first);
    qsizetype start = offset - first;
    while (start > 0 && !(finder.isAtBoundary() && parts()))
        start = finder.toPreviousBoundary();
    finder.setPosition(offset - first);
    qsizetype end = finder.toNextBoundary();
    while (end > 0 && end < paragraph.size() && !parts())
        end = finder.toNextBoundary();
    return { first + int(std::max<qsizetype>(start, 0)), end < 0 ? last : first + int(end) };
}

TextPieces::Piece TextPieces::at(int offset, QAccessible::TextBoundaryType boundary) const
{
    offset = resolved(offset);
    const int length = int(m_text.size());
    if (offset < 0 || length == 0 || (offset == length && boundary == QAccessible::CharBoundary))
        return {};
    return around(std::min(offset, length - 1), boundary);
}

TextPieces::Piece TextPieces::before(int offset, QAccessible::TextBoundaryType boundary) const
{
    offset = resolved(offset);
    if (offset < 0)
        return {};
    const Piece here = at(offset, boundary);
    const int start = here.start < 0 ? offset : here.start;
    return start > 0 ? around(start - 1, boundary) : Piece {};
}

TextPieces::Piece TextPieces::after(int offset, QAccessible::TextBoundaryType boundary) const
{
    offset = resolved(offset);
    if (offset < 0)
        return {};
    const Piece here = at(offset, boundary);
    const int end = here.end < 0 ? offset : here.end;
    return end < m_text.size() ? around(end, boundary) : Piece {};
}

QString TextPieces::answer(Piece piece, int *start, int *end) const
{
    *start = piece.start;
    *end = piece.end;
    return piece.start < 0 ? QString() : m_text.mid(piece.start, piece.end - piece.start);
}
