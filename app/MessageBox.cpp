#include "MessageBox.h"

#include "ApplicationNames.h"

#include <utility>

namespace MessageBox {

namespace {
Answer nextAnswer;

QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon, const QString &text,
    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, ApplicationNames::Title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (const Answer answer = std::exchange(nextAnswer, nullptr))
        return answer(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
} // namespace

void showError(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

void showNotice(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, text, QMessageBox::Ok);
}

bool askYesNo(QWidget *parent, const QString &text)
{
    return show(parent, QMessageBox::Information, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

void setNextAnswer(Answer answer)
{
    nextAnswer = std::move(answer);
}

} // namespace MessageBox
