#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Ends the event loop when the watched window paints for the first time.
class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QCoreApplication::exit(0);
        return false;
    }
};
