#pragma once

#include <QString>

#include <span>

class QLabel;
class QWidget;

// What a screen reader is told beyond each control's name and role: the question the answers
// answer. A control keeps one accessible object for as long as it lives, since screen readers,
// voice control and test tools hold on to the objects they have met; news reaches them as
// changes of those objects.
namespace ScreenReader {

// Tells a screen reader which question the answers answer, so that it says the question before
// the answer that takes the focus.
void setQuestion(
    QLabel *question, std::span<QWidget *const> answers, QWidget *focused, const QString &spoken);

// Tells it the question again once its answer has the focus, where the label alone would not
// reach it (Qt 6.8 and later); nothing elsewhere.
void announceQuestion(QWidget *focused, const QString &spoken);

} // namespace ScreenReader
