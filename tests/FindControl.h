#pragma once

#include <QWidget>

// The window's control of that object name; a missing control ends the test run at once.
template <typename T = QWidget> T *control(const QWidget &window, const QString &name)
{
    T *widget = window.findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}
