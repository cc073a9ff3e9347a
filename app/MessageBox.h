#pragma once

#include <QMessageBox>

#include <functional>

// The program's message boxes: modal, titled with the application's name.
namespace MessageBox {

// An input error: critical icon, OK.
void showError(QWidget *parent, const QString &text);
// A notice: information icon, OK.
void showNotice(QWidget *parent, const QString &text);
// A question: information icon, Yes and No. True when the answer is Yes.
bool askYesNo(QWidget *parent, const QString &text);

// For tests: the next box is not opened but handed, as made, to answer, whose button counts as
// the user's. Null opens boxes again.
using Answer = std::function<QMessageBox::StandardButton(const QMessageBox &box)>;
void setNextAnswer(Answer answer);

} // namespace MessageBox
