#include "ScreenReader.h"

#include <QAccessible>
#include <QLabel>
#include <QWidget>

namespace ScreenReader {

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
    // AT-SPI readers say the label of an option button before the button itself. Orca 48 keeps
    // the label it read first for as long as the button lives, so with Qt 6.8 the question is
    // announced instead (announceQuestion).
    Q_UNUSED(answers);
    question->setAccessibleName(spoken);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    Q_UNUSED(focused);
#else
    question->setBuddy(focused);
#endif
#endif
}

void announceQuestion(QWidget *focused, const QString &spoken)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(focused, spoken);
    QAccessible::updateAccessibility(&event);
#else
    Q_UNUSED(focused);
    Q_UNUSED(spoken);
#endif
}

} // namespace ScreenReader
