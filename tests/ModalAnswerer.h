#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
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
        QTimer::singleShot(10, &m_context, [this, button, triesLeft] {
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

    // The waiting ends with the answerer, so a box that never came cannot reach a later test.
    QObject m_context;
};
