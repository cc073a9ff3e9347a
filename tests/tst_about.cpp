#include "FindControl.h"
#include "KeyboardLink.h"
#include "Style.h"
#include "UrlRecorder.h"
#include "frmAbout.h"

#include <QAccessible>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void window();
    void lineIsSeparator_data();
    void lineIsSeparator();
    void labels_data();
    void labels();
    void actions_data();
    void actions();
    void linksByKeyboard_data();
    void linksByKeyboard();
};

void TestAbout::window()
{
    frmAbout dialog;
    QCOMPARE(dialog.windowTitle(), u"CV Veyloom v1.0"_s);
    QVERIFY(
        !(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.maximumSize(), QSize(Style::px(5745), Style::px(3255)));
    // The separator leaves no gap at either edge.
    FETCH_CONTROL(QWidget, line2, dialog, u"Line2"_s);
    QVERIFY(line2->geometry().left() < 0 && line2->geometry().right() >= dialog.width());
    for (const QWidget *widget : dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
}

void TestAbout::lineIsSeparator_data()
{
    // With a screen reader running, Qt makes a control's accessible interface while the window
    // is still being built.
    QTest::addColumn<bool>("screenReader");
    QTest::newRow("no screen reader") << false;
    QTest::newRow("screen reader running") << true;
}

void TestAbout::lineIsSeparator()
{
    QFETCH(bool, screenReader);
    QAccessible::setActive(screenReader);
    frmAbout dialog;
    FETCH_CONTROL(QWidget, line2, dialog, u"Line2"_s);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(line2);
    QAccessible::setActive(false);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Separator);
    QCOMPARE(accessible->text(QAccessible::Name), u"Separator"_s);
}

void TestAbout::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("textStart");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("Label1") << u"Label1"_s << u"CV Veyloom is a simple software"_s
                            << QColor(128, 0, 0);
    QTest::newRow("lblHomePage") << u"lblHomePage"_s
                                 << u"Click here to visit http://www.orravine.com"_s
                                 << QColor(0, 0, 255);
    QTest::newRow("Label3") << u"Label3"_s << u"Home Business Opportunity."_s << QColor(0, 128, 0);
}

void TestAbout::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, textStart);
    QFETCH(QColor, colour);
    frmAbout dialog;
    FETCH_CONTROL(QLabel, label, dialog, name);
    QVERIFY2(label->text().startsWith(textStart), qPrintable(label->text()));
    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    // The whole text shows: nothing is cut off by the label or the window.
    if (label->wordWrap())
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
    else
        QVERIFY(label->sizeHint().width() <= label->width());
    QVERIFY(dialog.rect().contains(label->geometry()));
}

void TestAbout::actions_data()
{
    // The control clicked (none: Enter pressed), and the page opened, if any, in which case the
    // window stays open.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address");
    QTest::newRow("OK") << u"cmdOK"_s << QString();
    QTest::newRow("Enter") << QString() << QString();
    QTest::newRow("lblHomePage") << u"lblHomePage"_s << u"http://www.orravine.com"_s;
    QTest::newRow("lblCoBrand") << u"lblCoBrand"_s
                                << u"http://help.orravine.com/fully-branded.html"_s;
}

void TestAbout::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    UrlRecorder browser;
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    FETCH_CONTROL(QWidget, ok, dialog, u"cmdOK"_s);
    QCOMPARE(dialog.focusWidget(), ok);
    if (name.isEmpty()) {
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    } else {
        FETCH_CONTROL(QWidget, control, dialog, name);
        QTest::mouseClick(control, Qt::LeftButton);
    }
    QCOMPARE(browser.addresses(), address.isEmpty() ? QStringList() : QStringList { address });
    QCOMPARE(dialog.isVisible(), !address.isEmpty());
}

void TestAbout::linksByKeyboard_data()
{
    // The link that many presses of Tab from OK reach, the key that follows it and its page.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("address");
    QTest::newRow("lblHomePage, Enter")
        << u"lblHomePage"_s << 1 << Qt::Key_Return << u"http://www.orravine.com"_s;
    QTest::newRow("lblCoBrand, Space") << u"lblCoBrand"_s << 2 << Qt::Key_Space
                                       << u"http://help.orravine.com/fully-branded.html"_s;
}

void TestAbout::linksByKeyboard()
{
    QFETCH(QString, name);
    QFETCH(int, tabs);
    QFETCH(Qt::Key, key);
    QFETCH(QString, address);
    UrlRecorder browser;
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    FETCH_CONTROL(QWidget, link, dialog, name);
    TAB_TO_AND_FOLLOW(link, tabs, key);
    QCOMPARE(browser.addresses(), QStringList { address });
    // Enter went to the link, not to the default button.
    QVERIFY(dialog.isVisible());
    pressTab(3 - tabs);
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QWidget *>(u"cmdOK"_s));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
