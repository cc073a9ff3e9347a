#include "Shutdown.h"

#include "SkipOnFailure.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

void UnloadAllAndEnd()
{
    static bool underWay = false;
    if (!underWay) {
        underWay = true;
        QList<QPointer<QWidget>> windows;
        for (QWidget *window : QApplication::topLevelWidgets())
            windows.append(window);
        // Closing one window may close or delete another, so each is looked at afresh.
        for (const QPointer<QWidget> &window : windows) {
            skipOnFailure([&] {
                if (window)
                    window->close();
            });
        }
        underWay = false;
    }
    QCoreApplication::exit(0);
}
