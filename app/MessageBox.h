#pragma once

#include <QString>

class QWidget;

// The program's message boxes: modal, titled with the application's name.
namespace MessageBox {

// An input error: critical icon, OK.
void showError(QWidget *parent, const QString &text);
// A notice: information icon, OK.
void showNotice(QWidget *parent, const QString &text);
// A question: information icon, Yes and No. True when the answer is Yes.
bool askYesNo(QWidget *parent, const QString &text);

} // namespace MessageBox
