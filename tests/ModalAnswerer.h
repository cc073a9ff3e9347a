#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers the next modal message box as a user would, and remembers what it said.
class ModalAnswerer
{
public:
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    int seen = 0;

    // Waits in the background for a message box and presses the given button on it.
    void answerNext(QMessageBox::StandardButton button = QMessageBox::Ok) { poll(button, 200); }

private:
    void poll(QMessageBox::StandardButton button, int triesLeft)
    {
        QTimer::singleShot(10, [this, button, triesLeft] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                if (triesLeft > 0)
                    poll(button, triesLeft - 1);
                return;
            }
            text = box->text();
            icon = box->icon();
            title = box->windowTitle();
            ++seen;
            box->button(button)->click();
        });
    }
};
