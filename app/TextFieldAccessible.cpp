#include "TextFieldAccessible.h"

#include "TextPieces.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

namespace {

// A single-line text field as a screen reader reads it. Qt 6.4's own interface never returns
// from asking for the word or sentence at the end of the text, where the caret stands after
// typing, which a screen reader does when the user moves by words; and it gives each
// character's attributes as an empty run, from which Orca reads the line one character short.
class TextFieldAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface
{
public:
    explicit TextFieldAccessible(QLineEdit *field)
        : QAccessibleWidget(field, QAccessible::EditableText)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = field()->isReadOnly();
        state.editable = !field()->isReadOnly();
        state.passwordEdit = field()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Value ? shown() : QAccessibleWidget::text(type);
    }

    void setText(QAccessible::Text type, const QString &text) override
    {
        if (type == QAccessible::Value)
            setIfValid(text);
        else
            QAccessibleWidget::setText(type, text);
    }

    // QAccessibleTextInterface
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !field()->hasSelectedText())
            return;
        *startOffset = field()->selectionStart();
        *endOffset = field()->selectionEnd();
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            field()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            field()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset < 0 || endOffset < startOffset)
            return {};
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(shown().size()); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override
    {
        return pieces().answer(pieces().before(offset, boundary), startOffset, endOffset);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override
    {
        return pieces().answer(pieces().after(offset, boundary), startOffset, endOffset);
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override
    {
        return pieces().answer(pieces().at(offset, boundary), startOffset, endOffset);
    }

    QRect characterRect(int offset) const override
    {
        const QString text = shown();
        if (offset < 0 || offset >= text.size())
            return {};
        // Measured from the caret, whose place takes the field's margins and scrolling in.
        const QFontMetrics metrics = field()->fontMetrics();
        const QRect caret = field()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.center().x() + metrics.horizontalAdvance(text.left(offset))
            - metrics.horizontalAdvance(text.left(field()->cursorPosition()));
        const QRect local(
            x, caret.top(), metrics.horizontalAdvance(text.mid(offset, 1)), caret.height());
        return QRect(field()->mapToGlobal(local.topLeft()), local.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = field()->mapFromGlobal(point);
        return field()->rect().contains(local) ? field()->cursorPositionAt(local) : -1;
    }

    void scrollToSubstring(int startIndex, int) override { field()->setCursorPosition(startIndex); }

    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        // The field has one format: a single run over the whole text.
        *startOffset = 0;
        *endOffset = characterCount();
        if (offset < 0 || offset > *endOffset)
            *startOffset = *endOffset = -1;
        return {};
    }

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override
    {
        setIfValid(field()->text().remove(startOffset, endOffset - startOffset));
    }
    void insertText(int offset, const QString &text) override
    {
        setIfValid(field()->text().insert(offset, text));
    }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        setIfValid(field()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    QLineEdit *field() const { return static_cast<QLineEdit *>(widget()); }

    // What the field shows: nothing of a password.
    QString shown() const
    {
        return field()->echoMode() == QLineEdit::Normal ? field()->text() : QString();
    }

    // The field is one line: its lines are its paragraphs.
    TextPieces pieces() const { return TextPieces(shown(), cursorPosition()); }

    // Text from a screen reader keeps to the field's rules, as typed text does.
    void setIfValid(const QString &text)
    {
        if (field()->isReadOnly())
            return;
        QString candidate = text;
        int position = int(candidate.size());
        if (const QValidator *rules = field()->validator();
            rules && rules->validate(candidate, position) == QValidator::Invalid)
            return;
        field()->setText(candidate);
    }
};

QAccessibleInterface *textFieldAccessible(const QString &className, QObject *object)
{
    if (className == u"QLineEdit")
        return new TextFieldAccessible(static_cast<QLineEdit *>(object));
    return nullptr;
}

} // namespace

void installTextFieldAccessibility()
{
    [[maybe_unused]] static const bool installed
        = (QAccessible::installFactory(textFieldAccessible), true);
}
