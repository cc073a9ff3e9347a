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

// What a screen reader is told beyond each control's name: the question with its answer, the
// reading as it appears, and the texts that go with a screen or window.
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

// What a screen reader says of the answer's question before the answer itself.
QString questionOf(QWidget *answer)
{
    QAccessibleInterface *object = QAccessible::queryAccessibleInterface(answer);
#ifdef Q_OS_WIN
    return object->text(QAccessible::Description);
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
    const QAccessible::Id followed = idOf(QApplication::focusWidget());
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
    // The reader is told of the focus on an object it does not follow yet, so it says the
    // answer anew, even where the focus stayed where it was.
    QVERIFY(!s_focus.isEmpty());
    QCOMPARE(s_focus.last().object, w.optAnswer[0]);
    QCOMPARE_NE(s_focus.last().id, followed);
    QCOMPARE(s_focus.last().id, idOf(w.optAnswer[0]));
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
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    QTRY_COMPARE(w.screens->currentIndex(), 2);

    QCOMPARE(QApplication::focusWidget(), w.RTB);
    QCOMPARE(w.RTB->textCursor().position(), 0);
    QCOMPARE(w.RTB->document()->firstBlock().text(), u"Crown Chakra (Sahasrara) is Open"_s);
    SKIP_WITHOUT_BRIDGE();
    QVERIFY(!s_focus.isEmpty());
    QCOMPARE(s_focus.last().object, w.RTB);
    QCOMPARE_NE(s_focus.last().id, followed);
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
    QTest::addColumn<QString>("field");
    QTest::newRow("name") << u"txtName"_s;
    QTest::newRow("email") << u"txtEmail"_s;
    QTest::newRow("friend's name") << u"txtFriendName"_s;
    QTest::newRow("friend's email") << u"txtFriendEmail"_s;
}

// Each field empties its grey text as it takes the focus, which Qt reports before the focus. A
// reader takes that change for the focus itself and then says nothing of the focus; a focus on
// the field as a new object, after the change, is said.
void TestScreenReader::referralFieldsSayTheirNames()
{
    QFETCH(QString, field);
    frmExitScreen exitScreen;
    exitScreen.show();
    exitScreen.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&exitScreen));
    FETCH_CONTROL(QLineEdit, edit, exitScreen, field);
    s_events.clear();
    edit->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(edit->text(), QString());
    SKIP_WITHOUT_BRIDGE();

    // The last change of the field, then a focus on it from another object than the changed one.
    const auto focusAfterChange = [edit] {
        qsizetype change = s_events.size() - 1;
        while (change >= 0
            && (s_events[change].object != edit || s_events[change].type == QAccessible::Focus))
            --change;
        for (qsizetype i = change + 1; change >= 0 && i < s_events.size(); ++i) {
            if (s_events[i].object == edit && s_events[i].type == QAccessible::Focus
                && s_events[i].id != s_events[change].id)
                return true;
        }
        return false;
    };
    QTRY_VERIFY(focusAfterChange());
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
