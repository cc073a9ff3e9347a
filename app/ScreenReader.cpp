#include "ScreenReader.h"

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
    // AT-SPI readers say the label of an option button before the button itself.
    Q_UNUSED(answers);
    question->setAccessibleName(spoken);
    question->setBuddy(focused);
#endif
}

} // namespace ScreenReader
