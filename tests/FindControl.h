#pragma once

#include <QTest>
#include <QWidget>

// Declares `variable`, the window's control of that object name. Like QVERIFY, a missing control
// fails the test function that asked and returns from it; the other tests go on.
#define FETCH_CONTROL(Type, variable, window, name)                                                \
    Type *variable = (window).findChild<Type *>(name);                                             \
    QVERIFY2(variable, qPrintable(QStringLiteral("no control ") + (name)))
