#pragma once

#include <QString>

#include <span>

class QLabel;
class QWidget;

// What a screen reader is told beyond each control's name and role: the question the answers
// answer, and a control presented anew when what it stands for has changed under the focus.
namespace ScreenReader {

// Presents the widget as the control that has just taken the focus, with everything a screen
// reader says of a newly focused control, even when it had the focus already.
void presentFocus(QWidget *widget);

// A screen reader follows the control with the focus and reports its changes. After this, the
// widgets are new objects to it, so that a change made to them before the next presentation is
// not reported as a change of the control it follows.
void renew(std::span<QWidget *const> widgets);

// Tells a screen reader which question the answers answer, so that it says the question before
// the answer with the focus.
void setQuestion(
    QLabel *question, std::span<QWidget *const> answers, QWidget *focused, const QString &spoken);

} // namespace ScreenReader
