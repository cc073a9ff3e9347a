#include "ScreenReader.h"

#include <QAccessible>
#include <QLabel>
#include <QWidget>

namespace ScreenReader {

void presentFocus(QWidget *widget)
{
    if (!widget->hasFocus()) {
        widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    // A screen reader ignores a move of the focus to the object it already follows; to a new
    // object for the same control it says everything again.
    QWidget *const renewed[] = { widget };
    renew(renewed);
    QAccessibleEvent focus(widget, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void renew(std::span<QWidget *const> widgets)
{
    if (!QAccessible::isActive())
        return;
    for (QWidget *widget : widgets) {
        if (QAccessibleInterface *object = QAccessible::queryAccessibleInterface(widget))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(object));
    }
}

void setQuestion(
    QLabel *question, std::span<QWidget *const> answers, QWidget *focused, const QString &spoken)
{
#ifdef Q_OS_WIN
    // UI Automation readers say a control's description after its name and state.
    Q_UNUSED(question);
    Q_UNUSED(focused);
    for (QWidget *answer : answers)
        answer->setAccessibleDescription(spoken);
#else
    // AT-SPI readers say the label of an option button before the button itself.
    Q_UNUSED(answers);
    question->setAccessibleName(spoken);
    question->setBuddy(focused);
#endif
}

} // namespace ScreenReader
