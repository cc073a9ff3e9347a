#include "ReadingViewAccessible.h"

#include "ReadingView.h"
#include "TextPieces.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

// The view as Qt's own interface for a text edit shows it, with the same role, states and
// children (the viewport and the scroll bars), but with the spoken text as its text. The view
// is read-only, so its text is not editable through the interface.
class AccessibleReadingView : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleReadingView(ReadingView *view)
        : QAccessibleWidget(view, QAccessible::EditableText)
    { }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectableText = true;
        state.multiLine = true;
        state.readOnly = view()->isReadOnly();
        state.editable = !view()->isReadOnly();
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Value ? spoken().text() : QAccessibleWidget::text(type);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        const QTextCursor cursor = view()->textCursor();
        if (index != 0 || !cursor.hasSelection())
            return;
        *start = spoken().offset(cursor.selectionStart());
        *end = spoken().offset(cursor.selectionEnd());
    }

    int selectionCount() const override { return view()->textCursor().hasSelection() ? 1 : 0; }

    void addSelection(int start, int end) override { setSelection(0, start, end); }

    void removeSelection(int index) override
    {
        if (index != 0)
            return;
        QTextCursor cursor = view()->textCursor();
        cursor.clearSelection();
        view()->setTextCursor(cursor);
    }

    // A selection that takes in part of a picture's name takes in the picture.
    void setSelection(int index, int start, int end) override
    {
        if (index != 0)
            return;
        const int first = documentPosition(std::min(start, end));
        const int last = documentPosition(std::max(start, end), true);
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(start <= end ? first : last);
        cursor.setPosition(start <= end ? last : first, QTextCursor::KeepAnchor);
        view()->setTextCursor(cursor);
    }

    int cursorPosition() const override { return spoken().offset(view()->textCursor().position()); }

    void setCursorPosition(int offset) override
    {
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(documentPosition(offset));
        view()->setTextCursor(cursor);
    }

    QString text(int start, int end) const override
    {
        start = bounded(start);
        end = bounded(end);
        return spoken().text().mid(std::min(start, end), std::abs(end - start));
    }

    // Lines are the view's lines on screen; characters, words, sentences and paragraphs the
    // pieces of the spoken text.
    QString textBeforeOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return pieces().answer(pieces().before(offset, boundary), start, end);
        const std::optional<Range> line = lineAt(offset);
        if (!line || line->first == 0)
            return spokenLine(std::nullopt, start, end);
        return spokenLine(lineAround(line->first - 1), start, end);
    }

    QString textAfterOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return pieces().answer(pieces().after(offset, boundary), start, end);
        const std::optional<Range> line = lineAt(offset);
        if (!line)
            return spokenLine(std::nullopt, start, end);
        // The next line starts at the end of this one, or one character later where the end
        // leaves out the line break or the space the line wraps at.
        const int last = view()->document()->characterCount() - 1;
        for (int next = line->second; next <= last; ++next) {
            if (const Range after = lineAround(next); after.first != line->first)
                return spokenLine(after, start, end);
        }
        return spokenLine(std::nullopt, start, end);
    }

    QString textAtOffset(
        int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return pieces().answer(pieces().at(offset, boundary), start, end);
        return spokenLine(lineAt(offset), start, end);
    }

    int characterCount() const override { return int(spoken().text().size()); }

    // A picture's name takes the picture's place.
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return {};
        QTextCursor cursor(view()->document());
        cursor.setPosition(documentPosition(offset));
        QRect character = view()->cursorRect(cursor);
        cursor.movePosition(QTextCursor::NextCharacter);
        // The character reaches to where the next one starts, on the same line.
        if (const QRect next = view()->cursorRect(cursor);
            next.top() == character.top() && next.left() > character.left())
            character.setRight(next.left() - 1);
        return { view()->viewport()->mapToGlobal(character.topLeft()), character.size() };
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint inDocument = view()->viewport()->mapFromGlobal(point)
            + QPoint(view()->horizontalScrollBar()->value(), view()->verticalScrollBar()->value());
        const int position
            = view()->document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
        return position < 0 ? -1 : spoken().offset(position);
    }

    // The view wraps its lines at its width, so only its vertical scroll bar moves.
    void scrollToSubstring(int start, int end) override
    {
        QTextCursor cursor(view()->document());
        cursor.setPosition(documentPosition(start));
        QRect area = view()->cursorRect(cursor);
        cursor.setPosition(documentPosition(end, true));
        area |= view()->cursorRect(cursor);
        const int below = area.bottom() - view()->viewport()->rect().bottom();
        // Its top stays in sight when the whole does not fit.
        const int move = below > 0 ? std::min(area.top(), below) : std::min(area.top(), 0);
        view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->value() + move);
    }

    // The run of one format around the offset, described in the attributes' usual names.
    QString attributes(int offset, int *start, int *end) const override
    {
        // -2 stands for the caret and -1 for the end, where the last character's format holds.
        if (offset == -2)
            offset = cursorPosition();
        if (offset == -1 || offset == characterCount())
            offset = characterCount() - 1;
        if (offset < 0 || offset >= characterCount()) {
            *start = *end = -1;
            return {};
        }
        const int position = documentPosition(offset);
        const QTextBlock block = view()->document()->findBlock(position);
        QTextCharFormat format = block.charFormat();
        Range run { position, position + 1 };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().contains(position)) {
                format = it.fragment().charFormat();
                run = { it.fragment().position(),
                    it.fragment().position() + it.fragment().length() };
                break;
            }
        }
        *start = spoken().offset(run.first);
        *end = spoken().offset(run.second);
        const QFont font = format.font();
        const QColor colour = format.foreground().color();
        QString attributes
            = QStringLiteral("font-weight:%1;font-style:%2;color:rgb(%3,%4,%5);")
                  .arg(font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"),
                      font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"))
                  .arg(colour.red())
                  .arg(colour.green())
                  .arg(colour.blue());
        if (font.pointSize() > 0)
            attributes += QStringLiteral("font-size:%1pt;").arg(font.pointSize());
        return attributes;
    }

private:
    using Range = std::pair<int, int>;

    ReadingView *view() const { return static_cast<ReadingView *>(widget()); }
    const SpokenText &spoken() const { return view()->spokenText(); }
    TextPieces pieces() const { return TextPieces(spoken().text(), cursorPosition()); }
    int bounded(int offset) const { return std::clamp(offset, 0, characterCount()); }
    int documentPosition(int offset, bool behind = false) const
    {
        return spoken().position(bounded(offset), behind);
    }

    // The line on screen around the document position, from where Home goes to where End goes.
    Range lineAround(int position) const
    {
        QTextCursor cursor(view()->document());
        cursor.setPosition(position);
        cursor.movePosition(QTextCursor::StartOfLine);
        const int start = cursor.position();
        cursor.movePosition(QTextCursor::EndOfLine);
        return { start, cursor.position() };
    }

    // The line at the spoken offset, in document positions; none beyond the text. -1 stands
    // for the end of the text, -2 for the caret.
    std::optional<Range> lineAt(int offset) const
    {
        if (offset == -1)
            offset = characterCount();
        else if (offset == -2)
            offset = cursorPosition();
        if (offset < 0 || offset > characterCount())
            return std::nullopt;
        return lineAround(spoken().position(offset));
    }

    // The line's text and its spoken offsets; for no line, nothing at -1.
    QString spokenLine(const std::optional<Range> &line, int *start, int *end) const
    {
        if (!line) {
            *start = *end = -1;
            return {};
        }
        *start = spoken().offset(line->first);
        *end = spoken().offset(line->second);
        return spoken().text().mid(*start, *end - *start);
    }
};

QAccessibleInterface *accessibleReadingView(const QString &className, QObject *object)
{
    if (className == QLatin1String(ReadingView::staticMetaObject.className()))
        return new AccessibleReadingView(static_cast<ReadingView *>(object));
    return nullptr;
}

} // namespace

void installReadingViewAccessibility()
{
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(accessibleReadingView);
        return true;
    }();
}
