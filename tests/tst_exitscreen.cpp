#include "FindControl.h"
#include "KeyboardLink.h"
#include "ModalAnswerer.h"
#include "UrlRecorder.h"
#include "frmExitScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}
} // namespace

class TestExitScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void window();
    void linksOpenTheirPage_data();
    void linksOpenTheirPage();
    void linksByKeyboard_data();
    void linksByKeyboard();
    void fields_data();
    void fields();
    void limitCountsWholeCharacters();
    void closingClosesEveryWindow();
};

// Topmost before it is shown, since becoming topmost later could move or activate it.
void TestExitScreen::window()
{
    frmExitScreen screen;
    QVERIFY(screen.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(
        !(screen.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Typed text stays dark on a light field inside the dark blue panel.
    FETCH_CONTROL(QWidget, txtName, screen, u"txtName"_s);
    const QPalette field = txtName->palette();
    QVERIFY(
        field.color(QPalette::Base).lightness() - field.color(QPalette::Text).lightness() > 100);
    FETCH_CONTROL(QWidget, cmdClose, screen, u"cmdClose"_s);
    const QPoint position = screen.pos();
    QVERIFY(showActive(screen));
    QCOMPARE(QApplication::focusWidget(), cmdClose);
    QCOMPARE(screen.pos(), position);
}

void TestExitScreen::linksOpenTheirPage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");
    QTest::newRow("Check1, far corner")
        << u"Check1"_s << u"Click Here To Visit www.orravine.com Now"_s
        << u"http://www.orravine.com"_s;
    QTest::newRow("lblGoToHome") << u"lblGoToHome"_s << u"Click Here To Visit Orravine"_s
                                 << u"http://www.orravine.com/software.html"_s;
}

void TestExitScreen::linksOpenTheirPage()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, address);
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    UrlRecorder browser;
    FETCH_CONTROL(QWidget, link, screen, name);
    QCOMPARE(link->property("text").toString(), text);
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(link->width() - 2, link->height() - 2));
    QCOMPARE(browser.addresses(), QStringList { address });
    if (auto *check1 = qobject_cast<QCheckBox *>(link))
        QVERIFY(!check1->isChecked());
    QVERIFY(screen.isVisible());
}

void TestExitScreen::linksByKeyboard_data()
{
    // The link that many presses of Tab from Exit reach, the key that follows it and its page.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("address");
    QTest::newRow("Check1, Space")
        << u"Check1"_s << 1 << Qt::Key_Space << u"http://www.orravine.com"_s;
    QTest::newRow("lblGoToHome, Enter")
        << u"lblGoToHome"_s << 7 << Qt::Key_Return << u"http://www.orravine.com/software.html"_s;
}

void TestExitScreen::linksByKeyboard()
{
    QFETCH(QString, name);
    QFETCH(int, tabs);
    QFETCH(Qt::Key, key);
    QFETCH(QString, address);
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    FETCH_CONTROL(QWidget, link, screen, name);
    UrlRecorder browser;
    TAB_TO_AND_FOLLOW(link, tabs, key);
    QCOMPARE(browser.addresses(), QStringList { address });
    // Eight stops make the round; the message out of sight is not one of them.
    pressTab(8 - tabs);
    QCOMPARE(QApplication::focusWidget(), screen.findChild<QWidget *>(u"cmdClose"_s));
}

void TestExitScreen::fields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<bool>("refusesSpace");
    QTest::newRow("txtName") << u"txtName"_s << u"Your Name"_s << false;
    QTest::newRow("txtEmail") << u"txtEmail"_s << u"Your Email Address"_s << true;
    QTest::newRow("txtFriendName") << u"txtFriendName"_s << u"Friend's Name"_s << false;
    QTest::newRow("txtFriendEmail") << u"txtFriendEmail"_s << u"Friend's Email Address"_s << true;
    QTest::newRow("txtMessage") << u"txtMessage"_s << u"Your Message"_s << false;
}

void TestExitScreen::fields()
{
    QFETCH(QString, name);
    QFETCH(QString, placeholder);
    QFETCH(bool, refusesSpace);
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    FETCH_CONTROL(QWidget, field, screen, name);
    FETCH_CONTROL(QWidget, elsewhere, screen, u"cmdClose"_s);
    auto *line = qobject_cast<QLineEdit *>(field);
    const char *property = line ? "text" : "plainText";
    const auto setTextOf = [&](const QString &text) { field->setProperty(property, text); };
    const auto textOf = [&] { return field->property(property).toString(); };

    setTextOf(u"  "_s + placeholder + u" "_s);
    field->setFocus(Qt::MouseFocusReason);
    QCOMPARE(textOf(), QString());
    // A context menu takes the focus only for a moment.
    QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(field, &toMenu);
    QCOMPARE(textOf(), QString());
    elsewhere->setFocus(Qt::TabFocusReason);
    QCOMPARE(textOf(), placeholder);

    // Blanks alone give the placeholder back; only the placeholder itself is emptied, and only
    // blanks count as empty.
    const std::pair<QString, QString> leftAs[] = { { u"   "_s, placeholder },
        { placeholder.toUpper(), placeholder.toUpper() }, { u"\t"_s, u"\t"_s } };
    for (const auto &[left, shown] : leftAs) {
        setTextOf(left);
        field->setFocus(Qt::TabFocusReason);
        elsewhere->setFocus(Qt::TabFocusReason);
        QCOMPARE(textOf(), shown);
    }

    // An address refuses the space key, though not pasted blanks. The box takes the focus for a
    // moment; the field is given it back, as it was.
    setTextOf(u"ann@"_s);
    field->setFocus(Qt::TabFocusReason);
    ModalAnswerer answerer;
    answerer.answerNext();
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, u" x"_s);
    QCOMPARE(answerer.seen, refusesSpace ? 1 : 0);
    QCOMPARE(answerer.text, refusesSpace ? u"Email Address Cannot Contain Space"_s : QString());
    QTRY_COMPARE(QApplication::focusWidget(), field);
    if (line)
        line->insert(u" pasted"_s);
    QCOMPARE(
        textOf(), (refusesSpace ? u"ann@x"_s : u"ann@ x"_s) + (line ? u" pasted"_s : QString()));
}

// A name holds 100 characters, also when each takes two UTF-16 units, and never half of one.
void TestExitScreen::limitCountsWholeCharacters()
{
    frmExitScreen screen;
    FETCH_CONTROL(QLineEdit, field, screen, u"txtName"_s);
    const QString full = u"a"_s.repeated(99) + u"🙂"_s;
    field->setText(u"a"_s.repeated(99));
    field->insert(u"🙂🙂"_s);
    QCOMPARE(field->text(), full);
    field->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, u"🙂"_s, Qt::NoModifier);
    QCOMPARE(field->text(), full);
}

// Closing it ends the program, like E&xit, which the end-to-end test clicks. Ends the
// application's event loop, so it runs last.
void TestExitScreen::closingClosesEveryWindow()
{
    QWidget other;
    other.show();
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    screen.close();
    QTRY_VERIFY(!other.isVisible());
}

QTEST_MAIN(TestExitScreen)
#include "tst_exitscreen.moc"
