#include "FindControl.h"
#include "ModalAnswerer.h"
#include "Style.h"
#include "UrlRecorder.h"
#include "frmExitScreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>

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
    void placeholders_data();
    void placeholders();
    void spaceRefusedInEmailFields_data();
    void spaceRefusedInEmailFields();
    void limitCountsWholeCharacters();
    void exitClosesEveryWindow_data();
    void exitClosesEveryWindow();
};

// Topmost before it is shown, since becoming topmost later could move or activate it.
void TestExitScreen::window()
{
    frmExitScreen screen;
    QVERIFY(screen.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(screen.palette().color(QPalette::Window), QColor(Qt::white));
    for (const QString &name : { u"Frame2"_s, u"Frame6"_s })
        QCOMPARE(control(screen, name)->palette().color(QPalette::Window), QColor(0, 0, 128));
    // Typed text stays dark on a light field inside the dark blue panel.
    const QPalette field = control(screen, u"txtName"_s)->palette();
    QVERIFY(
        field.color(QPalette::Base).lightness() - field.color(QPalette::Text).lightness() > 100);
    QCOMPARE(screen.size(), QSize(Style::px(11115), Style::px(4725)));
    QCOMPARE(control(screen, u"Check1"_s)->geometry(), Style::twipsRect(30, 2040, 7185, 555));
    QCOMPARE(control(screen, u"cmdClose"_s)->geometry(), Style::twipsRect(6000, 2760, 1245, 375));
    QCOMPARE(
        control(screen, u"txtFriendEmail"_s)->geometry(), Style::twipsRect(3600, 720, 3375, 285));
    QCOMPARE(control(screen, u"Frame6"_s)->geometry(), Style::twipsRect(7320, 120, 3735, 4575));

    const QPoint position = screen.pos();
    QVERIFY(showActive(screen));
    QCOMPARE(QApplication::focusWidget(), control(screen, u"cmdClose"_s));
    QVERIFY(screen.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(screen.pos(), position);
}

void TestExitScreen::linksOpenTheirPage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");
    QTest::newRow("Check1") << u"Check1"_s << u"Click Here To Visit www.orravine.com Now"_s
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
    QWidget *link = control(screen, name);
    QCOMPARE(link->property("text").toString(), text);
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(8, link->height() / 2));
    QCOMPARE(browser.addresses(), QStringList { address });
    if (auto *check1 = qobject_cast<QCheckBox *>(link))
        QVERIFY(!check1->isChecked());
    QVERIFY(screen.isVisible());
}

void TestExitScreen::placeholders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("placeholder");
    QTest::newRow("txtName") << u"txtName"_s << u"Your Name"_s;
    QTest::newRow("txtFriendEmail") << u"txtFriendEmail"_s << u"Friend's Email Address"_s;
    QTest::newRow("txtMessage") << u"txtMessage"_s << u"Your Message"_s;
}

void TestExitScreen::placeholders()
{
    QFETCH(QString, name);
    QFETCH(QString, placeholder);
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    QWidget *field = control(screen, name);
    QWidget *elsewhere = control(screen, u"cmdClose"_s);
    const char *property = qobject_cast<QLineEdit *>(field) ? "text" : "plainText";
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
}

void TestExitScreen::spaceRefusedInEmailFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("txtEmail") << u"txtEmail"_s;
    QTest::newRow("txtFriendEmail") << u"txtFriendEmail"_s;
}

void TestExitScreen::spaceRefusedInEmailFields()
{
    QFETCH(QString, name);
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    auto *field = control<QLineEdit>(screen, name);
    field->setFocus(Qt::TabFocusReason);
    ModalAnswerer answerer;
    for (const QString &before : { QString(), u"ann@"_s }) {
        QTest::keyClicks(field, before);
        answerer.answerNext();
        QTest::keyClick(field, Qt::Key_Space);
        QCOMPARE(answerer.seen, before.isEmpty() ? 1 : 2);
        QCOMPARE(answerer.text, u"Email Address Cannot Contain Space"_s);
        QCOMPARE(answerer.icon, QMessageBox::Critical);
        // The box takes the focus for a moment; the field is given it back, as it was.
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QCOMPARE(field->text(), before);
    }

    // Letters, pasted blanks and blanks in a name are not refused.
    answerer.answerNext();
    QTest::keyClicks(field, u"example.com"_s);
    field->insert(u" pasted "_s);
    QCOMPARE(field->text(), u"ann@example.com pasted "_s);
    auto *txtName = control<QLineEdit>(screen, u"txtName"_s);
    QTest::keyClicks(txtName, u" Lee"_s);
    QCOMPARE(txtName->text(), u"Your Name Lee"_s);
    QCOMPARE(answerer.seen, 2);
}

// A name holds 100 characters, also when each takes two UTF-16 units, and never half of one.
void TestExitScreen::limitCountsWholeCharacters()
{
    frmExitScreen screen;
    auto *field = control<QLineEdit>(screen, u"txtName"_s);
    field->setText(QString());
    field->insert(u"🙂"_s.repeated(101));
    QCOMPARE(field->text(), u"🙂"_s.repeated(100));

    const QString full = u"a"_s.repeated(99) + u"🙂"_s;
    field->setText(u"a"_s.repeated(99));
    field->insert(u"🙂🙂"_s);
    QCOMPARE(field->text(), full);
    field->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, u"🙂"_s, Qt::NoModifier);
    QCOMPARE(field->text(), full);
}

void TestExitScreen::exitClosesEveryWindow_data()
{
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("E&xit") << false;
    QTest::newRow("close box") << true;
}

// Ends the application's event loop, so it runs last.
void TestExitScreen::exitClosesEveryWindow()
{
    QFETCH(bool, byCloseBox);
    QWidget other;
    other.show();
    frmExitScreen screen;
    QVERIFY(showActive(screen));
    if (byCloseBox)
        screen.close();
    else
        QTest::mouseClick(control(screen, u"cmdClose"_s), Qt::LeftButton);
    QTRY_VERIFY(!screen.isVisible());
    QVERIFY(!other.isVisible());
}

QTEST_MAIN(TestExitScreen)
#include "tst_exitscreen.moc"
