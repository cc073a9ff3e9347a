#pragma once

#include "MessageBox.h"

// Answers message boxes before they open, as a user would, and remembers what the last one said.
class ModalAnswerer
{
public:
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    int seen = 0;

    // Presses the button on the next box, and on any after it, so that a box the test did not
    // expect is counted rather than waited on.
    void answerNext(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        MessageBox::setNextAnswer([this, button](const QMessageBox &box) {
            text = box.text();
            icon = box.icon();
            title = box.windowTitle();
            ++seen;
            answerNext(button);
            return button;
        });
    }

    // An answer left unused cannot reach a later test.
    ~ModalAnswerer() { MessageBox::setNextAnswer(nullptr); }
};
