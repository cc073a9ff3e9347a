#include "FindControl.h"
#include "ReadingView.h"
#include "frmExitScreen.h"
#include "frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// Qt reports focus moves and text changes only to a screen reader's bridge. On Linux the test
// runs with AT-SPI's, which initTestCase waits for; what the Windows build reports to UI
// Automation is checked under Wine by tests/windows/uia.sh.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_BRIDGE() QSKIP("Qt's reports to UI Automation are checked by uia.sh")
#else
#define SKIP_WITHOUT_BRIDGE() static_cast<void>(0)
#endif

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
namespace {
// Every announcement, in order, by its object and message.
QList<std::pair<QObject *, QString>> announced;
} // namespace
#endif

// What a screen reader is told beyond each control's name: the question with its answer, the
// reading as it appears, and the texts that go with a screen or window; the objects it holds,
// which live as long as their controls; the focus, which goes only where the user goes.
class TestScreenReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void questionBeforeAnswer_data();
    void questionBeforeAnswer();
    void readingFromItsTop();
    void textsOfScreensAndWindows();
    void referralFieldsSayTheirNames_data();
    void textFieldsAnswerAtTheirEnd_data();
    void textFieldsAnswerAtTheirEnd();
    void referralFieldsSayTheirNames();
    void heldObjectsLive_data();
    void heldObjectsLive();
    void focusOnlyWhereTheUserGoes_data();
    void focusOnlyWhereTheUserGoes();
    void exitScreenTakesTheKeyboard();

private:
    struct Focus {
        QObject *object;
        QAccessible::Id id;
    };
    static inline QList<Focus> s_focus;
    // Every event, in order, by its type and object.
    struct Event {
        QAccessible::Event type;
        QObject *object;
        QAccessible::Id id;
    };
    static inline QList<Event> s_events;
    static void record(QAccessibleEvent *event)
    {
        // Only the focus and the text of a control in being are looked up: a widget hidden as
        // it is destroyed has no interface to be made.
        QAccessible::Id id = 0;
        switch (event->type()) {
        case QAccessible::Focus:
        case QAccessible::TextInserted:
        case QAccessible::TextRemoved:
        case QAccessible::TextUpdated:
        case QAccessible::TextCaretMoved:
        case QAccessible::TextSelectionChanged:
            id = QAccessible::uniqueId(event->accessibleInterface());
            break;
        default:
            break;
        }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        if (event->type() == QAccessible::Announcement) {
            announced.append(
                { event->object(), static_cast<QAccessibleAnnouncementEvent *>(event)->message() });
        }
#endif
        s_events.append({ event->type(), event->object(), id });
        if (event->type() == QAccessible::Focus)
            s_focus.append({ event->object(), id });
    }
};

namespace {

QAccessible::Id idOf(QWidget *widget)
{
    return QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget));
}

QString wholeText(QAccessibleTextInterface *text)
{
    return text->text(0, text->characterCount());
}

// What a screen reader says of the answer's question before the answer itself.
QString questionOf(QWidget *answer)
{
    QAccessibleInterface *object = QAccessible::queryAccessibleInterface(answer);
#ifdef Q_OS_WIN
    return object->text(QAccessible::Description);
#elif QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Announced as the answer takes the focus: Orca 48 keeps the label it first read.
    Q_UNUSED(object);
    for (auto it = announced.crbegin(); it != announced.crend(); ++it) {
        if (it->first == answer)
            return it->second;
    }
    return {};
#else
    const auto labels = object->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
#endif
}

} // namespace

void TestScreenReader::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QAccessible::installUpdateHandler(&TestScreenReader::record);
#ifndef Q_OS_WIN
    QTRY_VERIFY2(QAccessible::isActive(), "no accessibility bridge: run it through ctest");
#endif
}

void TestScreenReader::cleanupTestCase()
{
    QAccessible::installUpdateHandler(nullptr);
}

enum class NextBy { AccessKeyOnSelected, AccessKeyOnOther, SpaceOnNext, Click };

void TestScreenReader::questionBeforeAnswer_data()
{
    QTest::addColumn<NextBy>("nextBy");
    QTest::newRow("Alt+N on the selected answer") << NextBy::AccessKeyOnSelected;
    QTest::newRow("Alt+N on another answer") << NextBy::AccessKeyOnOther;
    QTest::newRow("Space on Next") << NextBy::SpaceOnNext;
    QTest::newRow("click on Next") << NextBy::Click;
}

void TestScreenReader::questionBeforeAnswer()
{
    QFETCH(NextBy, nextBy);
    frmMain w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.chkOption[0], Qt::LeftButton);
    s_focus.clear();
    QTest::keyClick(&w, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), w.optAnswer[0]);
    QCOMPARE(
        questionOf(w.optAnswer[0]), u"Question 1 of 8. Do you have a good sense of direction?"_s);
    switch (nextBy) {
    case NextBy::AccessKeyOnSelected:
        break;
    case NextBy::AccessKeyOnOther:
        QTest::keyClick(w.optAnswer[0], Qt::Key_Down);
        QTest::keyClick(w.optAnswer[1], Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), w.optAnswer[2]);
        break;
    case NextBy::SpaceOnNext:
    case NextBy::Click:
        w.cmdNext->setFocus();
        break;
    }
    QWidget *const before = QApplication::focusWidget();
    const QAccessible::Id followed = idOf(before);
    s_focus.clear();
    if (nextBy == NextBy::SpaceOnNext)
        QTest::keyClick(w.cmdNext, Qt::Key_Space);
    else if (nextBy == NextBy::Click)
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    else
        QTest::keyClick(&w, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(w.lblQNo->text(), u"Question 2 of 8"_s);

    QCOMPARE(QApplication::focusWidget(), w.optAnswer[0]);
    QVERIFY(w.optAnswer[0]->isChecked());
    QCOMPARE(
        questionOf(w.optAnswer[0]), u"Question 2 of 8. Do you feel physically active and fit?"_s);
    SKIP_WITHOUT_BRIDGE();
    // The reader is told of the focus on the answer's own object, coming from another control,
    // so it says the answer with its question, even where the focus was on it before: Next,
    // whichever way it was pressed, had it in between.
    QVERIFY(!s_focus.isEmpty());
    QCOMPARE(s_focus.last().object, w.optAnswer[0]);
    QCOMPARE(s_focus.last().id, idOf(w.optAnswer[0]));
    QCOMPARE(s_focus.size() > 1 ? s_focus[s_focus.size() - 2].object : before, w.cmdNext);
    if (nextBy == NextBy::AccessKeyOnSelected)
        QCOMPARE(s_focus.last().id, followed);
}

void TestScreenReader::readingFromItsTop()
{
    frmMain w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.chkOption[6], Qt::LeftButton);
    QTest::mouseClick(w.cmdProceed, Qt::LeftButton);
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    const QAccessible::Id followed = idOf(w.RTB);
    s_focus.clear();
    s_events.clear();
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    QTRY_COMPARE(w.screens->currentIndex(), 2);

    QCOMPARE(QApplication::focusWidget(), w.RTB);
    QCOMPARE(w.RTB->textCursor().position(), 0);
    QCOMPARE(w.RTB->document()->firstBlock().text(), u"Crown Chakra (Sahasrara) is Open"_s);
    SKIP_WITHOUT_BRIDGE();
    // The view's own object takes the focus before the reading comes: a reader told of a new
    // text in the control with the focus before the focus itself takes the one for the other.
    QVERIFY(!s_focus.isEmpty());
    QCOMPARE(s_focus.last().object, w.RTB);
    QCOMPARE(s_focus.last().id, followed);
    const auto at = [&](QAccessible::Event type) {
        return std::find_if(s_events.cbegin(), s_events.cend(), [&](const Event &event) {
            return event.object == w.RTB && event.type == type;
        }) - s_events.cbegin();
    };
    QCOMPARE_LT(at(QAccessible::Focus), at(QAccessible::TextUpdated));
    QCOMPARE_LT(at(QAccessible::TextUpdated), s_events.size());
}

void TestScreenReader::textsOfScreensAndWindows()
{
    frmMain w;
    QCOMPARE(QAccessible::queryAccessibleInterface(w.fraStep[0])->text(QAccessible::Description),
        u"Choose one of the following options. Take the Chakras Test to know which Chakras are "
        "open or closed. Know more about the relation between the Chakras and the Rune Stones "
        "with this software."_s);
    // The instructions are paragraphs of their own, not labels of the screen, which a screen
    // reader would leave unsaid.
    for (QLabel *paragraph : { w.lblLabel[1], w.lblLabel[2] }) {
        QAccessibleInterface *object = QAccessible::queryAccessibleInterface(paragraph);
        QCOMPARE(object->text(QAccessible::Name), paragraph->text());
        QVERIFY(object->relations(QAccessible::Label).isEmpty());
    }

    // The stack of screens is a plain container, which a reader passes over, not a layered pane
    // that it announces with a count of its items.
    QCOMPARE(QAccessible::queryAccessibleInterface(w.screens)->role(), QAccessible::Client);

    frmExitScreen exitScreen;
    FETCH_CONTROL(QLabel, appeal, exitScreen, u"Label2"_s);
    QVERIFY(appeal->text().contains(u"www.orravine.com"_s));
    QCOMPARE(QAccessible::queryAccessibleInterface(&exitScreen)->text(QAccessible::Description),
        appeal->text());
    FETCH_CONTROL(QCheckBox, visit, exitScreen, u"Check1"_s);
    QCOMPARE(QAccessible::queryAccessibleInterface(visit)->text(QAccessible::Description),
        u"Opens www.orravine.com in your web browser."_s);
}

void TestScreenReader::referralFieldsSayTheirNames_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("field");
    QTest::newRow("name") << u"Check1"_s << Qt::Key_Tab << u"txtName"_s;
    QTest::newRow("email") << u"txtName"_s << Qt::Key_Tab << u"txtEmail"_s;
    QTest::newRow("friend's name") << u"txtEmail"_s << Qt::Key_Tab << u"txtFriendName"_s;
    QTest::newRow("friend's email") << u"txtFriendName"_s << Qt::Key_Tab << u"txtFriendEmail"_s;
    QTest::newRow("friend's email, back")
        << u"cmdSubmit"_s << Qt::Key_Backtab << u"txtFriendEmail"_s;
    QTest::newRow("name, back") << u"txtEmail"_s << Qt::Key_Backtab << u"txtName"_s;
}

// Each field empties its grey text as Tab brings the focus to it. A reader takes a change of
// the control with the focus, told before the focus, for the focus itself, and then says
// nothing of the focus: the focus on the field's own object is told first.
void TestScreenReader::referralFieldsSayTheirNames()
{
    QFETCH(QString, from);
    QFETCH(Qt::Key, key);
    QFETCH(QString, field);
    frmExitScreen exitScreen;
    exitScreen.show();
    exitScreen.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&exitScreen));
    FETCH_CONTROL(QWidget, before, exitScreen, from);
    FETCH_CONTROL(QLineEdit, edit, exitScreen, field);
    const QString placeholder = edit->text();
    QVERIFY(!placeholder.isEmpty());
    before->setFocus(Qt::TabFocusReason);
    const QAccessible::Id held = idOf(edit);
    s_events.clear();
    QTest::keyClick(QApplication::focusWidget(), key);
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->text(), QString());
    SKIP_WITHOUT_BRIDGE();

    const auto first = [&](auto matches) {
        return std::find_if(s_events.cbegin(), s_events.cend(), [&](const Event &event) {
            return event.object == edit && matches(event);
        }) - s_events.cbegin();
    };
    const qsizetype focus
        = first([](const Event &event) { return event.type == QAccessible::Focus; });
    const qsizetype emptied = first([](const Event &event) {
        return event.type == QAccessible::TextRemoved || event.type == QAccessible::TextUpdated;
    });
    QCOMPARE_LT(emptied, s_events.size());
    QCOMPARE_LT(focus, emptied);
    QCOMPARE(s_events[focus].id, held);
    QCOMPARE(idOf(edit), held);
}

void TestScreenReader::heldObjectsLive_data()
{
    QTest::addColumn<QString>("news");
    QTest::newRow("answers, next question") << u"question"_s;
    QTest::newRow("referral field, emptied") << u"field"_s;
    QTest::newRow("reading, a new one") << u"reading"_s;
}

// A screen reader, voice control or a test tool holds on to the objects it has met: each lives
// as long as its control, under the same id, and tells the control's news.
void TestScreenReader::heldObjectsLive()
{
    QFETCH(QString, news);
    struct Held {
        QAccessibleInterface *object;
        QAccessible::Id id;
    };
    const auto hold = [](QWidget *widget) {
        QAccessibleInterface *object = QAccessible::queryAccessibleInterface(widget);
        return Held { object, QAccessible::uniqueId(object) };
    };
    const auto alive = [](const Held &held) {
        return QAccessible::accessibleInterface(held.id) == held.object && held.object->isValid();
    };

    if (news == u"field") {
        frmExitScreen exitScreen;
        exitScreen.show();
        exitScreen.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&exitScreen));
        FETCH_CONTROL(QLineEdit, edit, exitScreen, u"txtFriendName"_s);
        const Held field = hold(edit);
        QCOMPARE(wholeText(field.object->textInterface()), u"Friend's Name"_s);
        edit->setFocus(Qt::MouseFocusReason);
        QVERIFY(alive(field));
        QCOMPARE(field.object->textInterface()->characterCount(), 0);
        QCOMPARE(field.object->text(QAccessible::Name), u"Friend's Name"_s);
        QVERIFY(field.object->state().focused);
        return;
    }

    frmMain w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Root's questions, or Crown's, which is open when every answer is "Yes".
    QTest::mouseClick(w.chkOption[news == u"question" ? 0 : 6], Qt::LeftButton);
    QTest::mouseClick(w.cmdProceed, Qt::LeftButton);
    QTRY_COMPARE(w.screens->currentIndex(), 1);
    if (news == u"question") {
        const Held answers[] = { hold(w.optAnswer[0]), hold(w.optAnswer[1]), hold(w.optAnswer[2]) };
        QTest::mouseClick(w.optAnswer[2], Qt::LeftButton);
        QTest::keyClick(&w, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(w.lblQNo->text(), u"Question 2 of 8"_s);
        for (const Held &answer : answers)
            QVERIFY(alive(answer));
        QCOMPARE(answers[0].object->text(QAccessible::Name), u"Yes"_s);
        QVERIFY(answers[0].object->state().checked);
        QVERIFY(answers[0].object->state().focused);
        QVERIFY(!answers[2].object->state().checked);
        QCOMPARE(questionOf(w.optAnswer[0]),
            u"Question 2 of 8. Do you feel physically active and fit?"_s);
        return;
    }

    // A reading, then another after Back To Main and a second test.
    for (int i = 0; i < 8; ++i)
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    QTRY_COMPARE(w.screens->currentIndex(), 2);
    const Held reading = hold(w.RTB);
    QAccessibleTextInterface *text = reading.object->textInterface();
    QVERIFY(wholeText(text).startsWith(u"Crown Chakra (Sahasrara) is Open\n"_s));
    QTest::mouseClick(w.cmdMain, Qt::LeftButton);
    QTRY_COMPARE(w.screens->currentIndex(), 0);
    // Root alone, "No" to the first and the third question, which score with "Yes", and "Yes"
    // to the rest: under-active.
    w.chkOption[6]->setChecked(false);
    w.chkOption[0]->setChecked(true);
    QTest::mouseClick(w.cmdProceed, Qt::LeftButton);
    for (int i = 0; i < 8; ++i) {
        if (i == 0 || i == 2)
            QTest::mouseClick(w.optAnswer[1], Qt::LeftButton);
        QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    }
    QTRY_COMPARE(w.screens->currentIndex(), 2);
    QVERIFY(alive(reading));
    QVERIFY(wholeText(text).startsWith(u"Root Chakra (Muladhara) is Underactive\n"_s));
    QVERIFY(wholeText(text).contains(u"\nAlgiz rune stone\n"_s));
    QCOMPARE(text->cursorPosition(), 0);
}

void TestScreenReader::focusOnlyWhereTheUserGoes_data()
{
    QTest::addColumn<int>("screen"); // the screen the key is pressed on
    QTest::addColumn<QStringList>("focused"); // every control that takes the focus, in order
    QTest::newRow("first screen, Alt+G") << 0 << QStringList { u"optAnswer0"_s };
    QTest::newRow("last question, Alt+N") << 1 << QStringList { u"cmdNext"_s, u"RTB"_s };
    QTest::newRow("reading, Alt+M") << 2 << QStringList { u"txtName"_s };
}

// A screen that hides with the focus inside would let Qt pass the focus on to the next control
// in the tab order, the banner above the screens, for a moment that a screen reader announces.
void TestScreenReader::focusOnlyWhereTheUserGoes()
{
    QFETCH(int, screen);
    QFETCH(QStringList, focused);
    frmMain w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.chkOption[6], Qt::LeftButton);
    if (screen > 0) {
        QTest::mouseClick(w.cmdProceed, Qt::LeftButton);
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(w.cmdNext, Qt::LeftButton);
        w.optAnswer[0]->setFocus();
    }
    if (screen > 1) {
        QTest::keyClick(&w, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(w.screens->currentIndex(), 2);
    }
    QCOMPARE(w.screens->currentIndex(), screen);
    QStringList taken;
    const QObject listening;
    connect(qApp, &QApplication::focusChanged, &listening,
        [&](QWidget *, QWidget *now) { taken << (now ? now->objectName() : u"(none)"_s); });
    const Qt::Key keys[] = { Qt::Key_G, Qt::Key_N, Qt::Key_M };
    QTest::keyClick(&w, keys[screen], Qt::AltModifier);
    QTRY_COMPARE_NE(w.screens->currentIndex(), screen);
    QTRY_COMPARE(taken, focused);
    QTest::qWait(50);
    QCOMPARE(taken, focused);
}

// Shown as the main window closes, the exit screen takes the keyboard, and a screen reader
// with it, whatever becomes of the main window.
void TestScreenReader::exitScreenTakesTheKeyboard()
{
    frmMain w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.close();
    frmExitScreen *exitScreen = nullptr;
    QTRY_VERIFY((exitScreen = [] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<frmExitScreen *>(window); found && found->isVisible())
                return found;
        }
        return static_cast<frmExitScreen *>(nullptr);
    }()));
    const auto closed = qScopeGuard([exitScreen] { delete exitScreen; });
    QVERIFY(QTest::qWaitForWindowActive(exitScreen));
    QCOMPARE(QApplication::activeWindow(), exitScreen);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdClose"_s);
}

void TestScreenReader::textFieldsAnswerAtTheirEnd_data()
{
    QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("word at the end") << QAccessible::WordBoundary << 7 << u"Lee"_s << 4 << 7;
    QTest::newRow("word at the caret") << QAccessible::WordBoundary << -2 << u"Lee"_s << 4 << 7;
    QTest::newRow("first word") << QAccessible::WordBoundary << 2 << u"Ann"_s << 0 << 3;
    QTest::newRow("sentence at the end")
        << QAccessible::SentenceBoundary << 7 << u"Ann Lee"_s << 0 << 7;
    QTest::newRow("line at the end") << QAccessible::LineBoundary << 7 << u"Ann Lee"_s << 0 << 7;
    QTest::newRow("last character") << QAccessible::CharBoundary << 6 << u"e"_s << 6 << 7;
    QTest::newRow("character at the end")
        << QAccessible::CharBoundary << 7 << QString() << -1 << -1;
}

// A screen reader moving by words asks for the word at the caret, which stands at the end of
// what was typed.
void TestScreenReader::textFieldsAnswerAtTheirEnd()
{
    QFETCH(QAccessible::TextBoundaryType, boundary);
    QFETCH(int, offset);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    frmMain w;
    w.txtName->setText(u"Ann Lee"_s);
    QAccessibleTextInterface *field
        = QAccessible::queryAccessibleInterface(w.txtName)->textInterface();
    QVERIFY(field);
    int foundStart = 0, foundEnd = 0;
    QCOMPARE(field->textAtOffset(offset, boundary, &foundStart, &foundEnd), text);
    QCOMPARE(foundStart, start);
    QCOMPARE(foundEnd, end);
    // One format runs over the whole text, so the line is read whole.
    field->attributes(offset < 0 ? 7 : offset, &foundStart, &foundEnd);
    QCOMPARE(foundStart, 0);
    QCOMPARE(foundEnd, 7);
}

QTEST_MAIN(TestScreenReader)
#include "tst_screenreader.moc"
