#pragma once

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

// Presses Tab that many times, each time where the focus is.
inline void pressTab(int times)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// Reaches the link with that many presses of Tab and follows it with the key. Like QVERIFY, fails
// the test function that called it, and returns from it, when the focus lands elsewhere or the
// link does not show that it has it.
#define TAB_TO_AND_FOLLOW(link, tabs, key)                                                         \
    do {                                                                                           \
        const QImage unfocused = (link)->grab().toImage();                                         \
        pressTab(tabs);                                                                            \
        QCOMPARE(QApplication::focusWidget(), (link));                                             \
        QVERIFY2((link)->grab().toImage() != unfocused, "no focus frame");                         \
        QTest::keyClick((link), (key));                                                            \
    } while (false)
