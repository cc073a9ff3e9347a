// Every question a screen reader may ask of a text the program shows is answered, in time and
// consistently: every offset from -2 (the caret) to the length, every boundary, at, before and
// after, and each character's place. A watchdog ends the test when one answer takes too long, so
// that a question that never returns fails here instead of stalling the run.
#include "ComposeReading.h"
#include "FakeScreens.h"
#include "FindControl.h"
#include "ImageList.h"
#include "ReadingView.h"
#include "frmAbout.h"
#include "frmExitScreen.h"
#include "frmMain.h"
#include "modVeyloom.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>

#include <algorithm>
#include <atomic>

using namespace Qt::StringLiterals;

namespace {

// How long one answer may take.
constexpr qint64 AnswerLimit = 2000;

const QList<QAccessible::TextBoundaryType> Boundaries
    = { QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary };

const char *boundaryName(int boundary)
{
    static const char *const names[]
        = { "character", "word", "sentence", "paragraph", "line", "whole text" };
    return boundary >= 0 && boundary < 6 ? names[boundary] : "?";
}

enum class Ask { At, Before, After, Rect, Text };

const char *askName(Ask ask)
{
    switch (ask) {
    case Ask::At:
        return "textAtOffset";
    case Ask::Before:
        return "textBeforeOffset";
    case Ask::After:
        return "textAfterOffset";
    case Ask::Rect:
        return "characterRect";
    case Ask::Text:
        return "text";
    }
    return "?";
}

// The question being answered, for the watchdog: kept in atomics, cheap to set per question.
struct Question {
    std::atomic<qint64> deadline { 0 }; // 0 while no question is asked
    std::atomic<const char *> subject { "" };
    std::atomic<int> ask { 0 };
    std::atomic<int> offset { 0 };
    std::atomic<int> boundary { 0 };
};

QElapsedTimer sinceStart;
Question asked;

// Guards each answer from a thread of its own: one that takes longer than the limit ends the
// test, naming the question, since the GUI thread that asked will never come back to fail it.
class Watchdog
{
public:
    Watchdog()
        : m_thread(QThread::create([this] { watch(); }))
    {
        m_thread->start();
    }
    ~Watchdog()
    {
        m_stop = true;
        m_thread->wait();
    }

private:
    void watch()
    {
        while (!m_stop) {
            const qint64 deadline = asked.deadline;
            if (deadline != 0 && sinceStart.elapsed() > deadline) {
                qFatal("%s: no answer within %lld ms to %s at offset %d, boundary %s",
                    asked.subject.load(), AnswerLimit, askName(Ask(asked.ask.load())),
                    asked.offset.load(), boundaryName(asked.boundary));
            }
            QThread::msleep(20);
        }
    }

    std::atomic<bool> m_stop { false };
    std::unique_ptr<QThread> m_thread;
};

// Asks one question under the watchdog.
template <typename Answering> auto inTime(Ask ask, int offset, int boundary, Answering answering)
{
    asked.ask = int(ask);
    asked.offset = offset;
    asked.boundary = boundary;
    asked.deadline = sinceStart.elapsed() + AnswerLimit;
    auto answer = answering();
    asked.deadline = 0;
    return answer;
}

struct Reply {
    QString text;
    int start = -1;
    int end = -1;
    bool none() const { return start == -1 && end == -1 && text.isEmpty(); }
    bool operator==(const Reply &) const = default;
};

QString toText(const Reply &answer)
{
    QString shown = answer.text;
    shown.replace(u'\n', u"\\n"_s);
    return u"\"%1\" [%2, %3)"_s.arg(shown).arg(answer.start).arg(answer.end);
}

Reply textAt(QAccessibleTextInterface *text, Ask ask, int offset, int boundary)
{
    return inTime(ask, offset, boundary, [&] {
        Reply answer;
        const auto type = QAccessible::TextBoundaryType(boundary);
        if (ask == Ask::At)
            answer.text = text->textAtOffset(offset, type, &answer.start, &answer.end);
        else if (ask == Ask::Before)
            answer.text = text->textBeforeOffset(offset, type, &answer.start, &answer.end);
        else
            answer.text = text->textAfterOffset(offset, type, &answer.start, &answer.end);
        return answer;
    });
}

QString question(Ask ask, int offset, int boundary)
{
    return u"%1(%2, %3)"_s.arg(QLatin1String(askName(ask)))
        .arg(offset)
        .arg(QLatin1String(boundaryName(boundary)));
}

// Fails the test function with the message, which is only made on failure.
#define CHECK(condition, message)                                                                  \
    do {                                                                                           \
        if (!(condition))                                                                          \
            QFAIL(qPrintable(message));                                                            \
    } while (false)

// Every answer of the interface, checked for consistency. Lines on screen (the reading view's)
// leave out the line feed or the space a line wraps at, so there the piece at an offset may end
// at it rather than after it, and the lines leave those characters between them uncovered.
void answersEverything(QAccessibleTextInterface *text, const QByteArray &subject, bool screenLines)
{
    asked.subject = subject.constData();
    const QString who = QString::fromUtf8(subject);
    const int length = inTime(Ask::Text, 0, 0, [&] { return text->characterCount(); });
    const QString whole = inTime(Ask::Text, 0, 0, [&] { return text->text(0, length); });
    const int caret = inTime(Ask::Text, -2, 0, [&] { return text->cursorPosition(); });
    CHECK(whole.size() == length,
        who + u": characterCount %1, text of %2"_s.arg(length).arg(whole.size()));
    QVERIFY(caret >= 0 && caret <= length);

    for (int offset = 0; offset <= length; ++offset) {
        const QString head = inTime(Ask::Text, 0, 0, [&] { return text->text(0, offset); });
        const QString tail
            = inTime(Ask::Text, offset, 0, [&] { return text->text(offset, length); });
        CHECK(
            head + tail == whole, who + u": text(0, %1) + text(%1, %2)"_s.arg(offset).arg(length));
    }
    for (int offset = -2; offset <= length; ++offset) {
        const QRect rect
            = inTime(Ask::Rect, offset, 0, [&] { return text->characterRect(offset); });
        CHECK(rect.isEmpty() == (offset < 0 || offset == length),
            who
                + u": characterRect(%1) is %2x%3"_s.arg(offset)
                      .arg(rect.width())
                      .arg(rect.height()));
    }

    for (const QAccessible::TextBoundaryType boundary : Boundaries) {
        const bool onScreen = screenLines && boundary == QAccessible::LineBoundary;
        QList<Reply> at, before, after;
        const auto describe = [&](Ask ask, int offset, const Reply &answer) {
            return who + u": "_s + question(ask, offset, boundary) + u" gave "_s + toText(answer);
        };
        // A piece lies within the text and is the text between its offsets.
        const auto valid = [&](int offset, const Reply &answer) {
            if (answer.none())
                return true;
            if (answer.start < 0 || answer.start > answer.end || answer.end > length)
                return false;
            const QString between = inTime(
                Ask::Text, offset, boundary, [&] { return text->text(answer.start, answer.end); });
            return answer.text == between;
        };
        for (int offset = 0; offset <= length; ++offset) {
            at << textAt(text, Ask::At, offset, boundary);
            before << textAt(text, Ask::Before, offset, boundary);
            after << textAt(text, Ask::After, offset, boundary);
            const Reply &here = at.last();
            CHECK(valid(offset, here), describe(Ask::At, offset, here));
            CHECK(valid(offset, before.last()), describe(Ask::Before, offset, before.last()));
            CHECK(valid(offset, after.last()), describe(Ask::After, offset, after.last()));
            if (offset < length) {
                CHECK(
                    here.start <= offset && (offset < here.end || (onScreen && offset == here.end)),
                    describe(Ask::At, offset, here));
            } else if (boundary == QAccessible::CharBoundary || (length == 0 && !onScreen)) {
                // Nothing at the end but the piece that ends there.
                CHECK(here.none(), describe(Ask::At, offset, here));
            } else {
                CHECK(here.end == length && (here.start < length || onScreen),
                    describe(Ask::At, offset, here));
            }
            // Before ends where the piece here starts or earlier, after starts where it ends or
            // later; none beyond the first and the last piece.
            const int start = here.none() ? offset : here.start;
            const int end = here.none() ? offset : here.end;
            CHECK(before.last().none() ? (onScreen || start == 0) : before.last().end <= start,
                describe(Ask::Before, offset, before.last()));
            CHECK(after.last().none() ? (onScreen || end == length) : after.last().start >= end,
                describe(Ask::After, offset, after.last()));
        }
        // The special offsets: -1 the end, -2 the caret.
        for (const auto &[special, meant] : { std::pair(-1, length), std::pair(-2, caret) }) {
            const Reply answers[] = { textAt(text, Ask::At, special, boundary),
                textAt(text, Ask::Before, special, boundary),
                textAt(text, Ask::After, special, boundary) };
            CHECK(answers[0] == at[meant], describe(Ask::At, special, answers[0]));
            CHECK(answers[1] == before[meant], describe(Ask::Before, special, answers[1]));
            CHECK(answers[2] == after[meant], describe(Ask::After, special, answers[2]));
        }
        // The pieces before and after are pieces in their own right.
        for (int offset = 0; offset <= length; ++offset) {
            for (const auto &[ask, answer] :
                { std::pair(Ask::Before, before[offset]), std::pair(Ask::After, after[offset]) }) {
                CHECK(answer.none() || answer == at[answer.start],
                    describe(ask, offset, answer) + u", but textAtOffset(%1) "_s.arg(answer.start)
                        + toText(at[answer.start]));
            }
        }
        // Piece after piece from the first, and before from the last, read the whole text;
        // lines on screen with one line feed or space between two.
        const Reply first = at.first();
        CHECK(first.none() || first.start == 0, describe(Ask::At, 0, first));
        QString forwards = first.text;
        int steps = 0, reached = first.end;
        for (Reply piece = first; !piece.none() && steps <= length; ++steps) {
            const Reply next = after[piece.start];
            if (!next.none()) {
                const int gap = next.start - piece.end;
                CHECK(gap == 0 || (onScreen && gap == 1 && whole[piece.end].isSpace()),
                    describe(Ask::After, piece.start, next));
                forwards += next.text;
                reached = next.end;
            }
            piece = next;
        }
        if (onScreen)
            CHECK(reached == length, who + u": the lines end at %1"_s.arg(reached));
        else
            CHECK(forwards == whole,
                who + u": the "_s + QLatin1String(boundaryName(boundary))
                    + u"s one after another read \""_s + forwards + u'"');
        QString backwards;
        Reply last = at.last().none() ? before.last() : at.last();
        for (steps = 0; !last.none() && steps <= length; ++steps) {
            backwards.prepend(last.text);
            last = before[last.start];
        }
        if (!onScreen)
            CHECK(backwards == whole,
                who + u": the "_s + QLatin1String(boundaryName(boundary))
                    + u"s one before another read \""_s + backwards + u'"');
    }
}

// A finished test of the chakras ticked (0 Root), each with its questions given their
// scoring answer: all of them under-active.
TestRun takeTest(std::initializer_list<int> chakras)
{
    using namespace modVeyloom;
    LoadCatalogue();
    FakeScreens screens;
    for (int chakra : chakras)
        screens.ticked[chakra] = true;
    TestRun run;
    StartTest(run, screens);
    while (screens.readings == 0) {
        screens.answer = Answer::MayBe;
        NextQuestion(run, screens);
    }
    return run;
}

QAccessibleTextInterface *textOf(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->textInterface() : nullptr;
}

// Qt's own text edit holding the same text at the same size, each picture's name written in as
// text where the picture stood, so that its lines are the view's.
std::unique_ptr<QTextEdit> namesWrittenIn(const ReadingView &view)
{
    auto twin = std::make_unique<QTextEdit>();
    twin->setVerticalScrollBarPolicy(view.verticalScrollBarPolicy());
    twin->setFont(view.font());
    twin->setDocument(view.document()->clone(twin.get()));
    twin->setReadOnly(true);
    QTextCursor cursor(twin->document());
    // From the end, so that the positions still to come stay where they were.
    for (int position = twin->document()->characterCount() - 2; position >= 0; --position) {
        cursor.setPosition(position);
        cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
        if (const QTextCharFormat format = cursor.charFormat(); format.isImageFormat())
            cursor.insertText(format.stringProperty(QTextFormat::ImageAltText), QTextCharFormat());
    }
    twin->resize(view.size());
    twin->show();
    return twin;
}

// Compares the pieces the interface gives at each offset inside the text with those of Qt's own
// text edit holding the same text. Where they differ, Qt 6.4's are the odd ones:
// - Its words are the words alone: on a space or a bracket it gives the word before or the
//   bracket alone, where the space or the run of spaces and brackets is a piece of its own here,
//   so that the pieces cover the text; and it parts "Thor's" at the apostrophe, which Unicode's
//   word rules keep whole. Only the pieces of letters and digits alone are compared.
// - Its sentences and paragraphs end before the line feed that ends them, which belongs to no
//   piece there; here the paragraph takes it in, as Qt's generic interface and a text field do.
//   They are compared without it, away from the line feed.
// - Its textBeforeOffset and textAfterOffset are not compared: after gives the piece at the
//   offset itself (it asks at that piece's end, where the text cursor finds the same piece again)
//   and before the first piece gives the first piece. The pieces before and after are checked
//   against the pieces at, which are compared here.
void sameAsQt(
    QAccessibleTextInterface *text, QAccessibleTextInterface *qt, const QByteArray &subject)
{
    asked.subject = subject.constData();
    const QString who = QString::fromUtf8(subject);
    const int length = text->characterCount();
    QCOMPARE(qt->characterCount(), length);
    const QString whole = text->text(0, length);
    QCOMPARE(qt->text(0, length), whole);
    for (const QAccessible::TextBoundaryType boundary : Boundaries) {
        for (int offset = 0; offset < length; ++offset) {
            Reply ours = textAt(text, Ask::At, offset, boundary);
            const Reply theirs = textAt(qt, Ask::At, offset, boundary);
            if (boundary == QAccessible::WordBoundary
                && !std::ranges::all_of(ours.text, [](QChar c) { return c.isLetterOrNumber(); }))
                continue;
            if (boundary == QAccessible::SentenceBoundary
                || boundary == QAccessible::ParagraphBoundary) {
                if (whole[offset] == u'\n')
                    continue;
                if (ours.text.endsWith(u'\n')) {
                    ours.text.chop(1);
                    --ours.end;
                }
            }
            CHECK(ours == theirs,
                who + u": "_s + question(Ask::At, offset, boundary) + u" gave "_s + toText(ours)
                    + u", Qt's own "_s + toText(theirs));
        }
    }
}

} // namespace

class TestTextAnswers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reading();
    void fields_data();
    void fields();
    void fieldPieces_data();
    void fieldPieces();
    void everyTextOfEveryWindow();

private:
    std::unique_ptr<Watchdog> m_watchdog;
    ImageList m_pictures;
};

void TestTextAnswers::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    sinceStart.start();
    m_watchdog = std::make_unique<Watchdog>();
}

void TestTextAnswers::reading()
{
    ReadingView view;
    view.resize(483, 225);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Root, Navel and Throat under-active: fifteen rune pictures, each read by its name.
    ComposeReading(view, m_pictures, takeTest({ 0, 2, 4 }));
    QAccessibleTextInterface *text = textOf(&view);
    QVERIFY(text);
    const QString whole = text->text(0, text->characterCount());
    QCOMPARE(whole.count(u" rune stone\n"_s), 15);
    QVERIFY(whole.contains(u"\nAlgiz rune stone\n"_s));
    // The caret on a picture, where the caret's offset is its name's start.
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(
        view.document()->find(QString(QChar::ObjectReplacementCharacter)).position() - 1);
    view.setTextCursor(cursor);
    QCOMPARE(text->text(text->cursorPosition(), text->cursorPosition() + 5), u"Algiz"_s);
    answersEverything(text, "reading", true);
    if (QTest::currentTestFailed())
        return;
    const auto twin = namesWrittenIn(view);
    QVERIFY(QTest::qWaitForWindowExposed(twin.get()));
    sameAsQt(text, textOf(twin.get()), "reading");
}

void TestTextAnswers::fields_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::newRow("frmMain txtName") << u"frmMain"_s << u"txtName"_s;
    for (const char *name : { "txtName", "txtEmail", "txtFriendName", "txtFriendEmail" })
        QTest::addRow("frmExitScreen %s", name) << u"frmExitScreen"_s << QString::fromLatin1(name);
}

void TestTextAnswers::fields()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    std::unique_ptr<QWidget> shown;
    if (window == u"frmMain"_s)
        shown = std::make_unique<frmMain>();
    else
        shown = std::make_unique<frmExitScreen>();
    shown->show();
    FETCH_CONTROL(QLineEdit, edit, *shown, field);
    QAccessibleTextInterface *text = textOf(edit);
    QVERIFY(text);
    QTextEdit qt;
    qt.resize(400, 100);
    // Ending in a letter, a space, punctuation; empty; one character; two sentences.
    for (const QString &typed :
        { u"Ann Lee"_s, u"Ann Lee "_s, u"Ann Lee."_s, QString(), u"x"_s, u"Ann. Lee"_s }) {
        edit->setText(typed);
        QCOMPARE(text->characterCount(), typed.size());
        const QByteArray subject = (window + u' ' + field + u" \""_s + typed + u'"').toUtf8();
        answersEverything(text, subject, false);
        if (QTest::currentTestFailed())
            return;
        qt.setPlainText(typed);
        sameAsQt(text, textOf(&qt), subject);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestTextAnswers::fieldPieces_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("ask");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const auto row
        = [](const char *name, const QString &typed, int caret, Ask ask, int offset,
              QAccessible::TextBoundaryType boundary, const QString &piece, int start, int end) {
              QTest::newRow(name) << typed << caret << int(ask) << offset << int(boundary) << piece
                                  << start << end;
          };
    using enum QAccessible::TextBoundaryType;
    // At the end of the text, where the caret stands after typing.
    row("last word", u"Ann Lee"_s, 7, Ask::At, 7, WordBoundary, u"Lee"_s, 4, 7);
    row("last word at -1", u"Ann Lee"_s, 0, Ask::At, -1, WordBoundary, u"Lee"_s, 4, 7);
    row("last word at the caret", u"Ann Lee"_s, 7, Ask::At, -2, WordBoundary, u"Lee"_s, 4, 7);
    row("space before the last word", u"Ann Lee"_s, 7, Ask::Before, 7, WordBoundary, u" "_s, 3, 4);
    row("nothing after the last word", u"Ann Lee"_s, 7, Ask::After, 7, WordBoundary, {}, -1, -1);
    row("no character at the end", u"Ann Lee"_s, 7, Ask::At, 7, CharBoundary, {}, -1, -1);
    row("last character", u"Ann Lee"_s, 7, Ask::Before, 7, CharBoundary, u"e"_s, 6, 7);
    row("sentence", u"Ann Lee"_s, 7, Ask::At, 7, SentenceBoundary, u"Ann Lee"_s, 0, 7);
    row("line", u"Ann Lee"_s, 7, Ask::At, 3, LineBoundary, u"Ann Lee"_s, 0, 7);
    row("no line after", u"Ann Lee"_s, 7, Ask::After, 3, LineBoundary, {}, -1, -1);
    row("trailing space", u"Ann Lee "_s, 8, Ask::At, 8, WordBoundary, u" "_s, 7, 8);
    row("word before the trailing space", u"Ann Lee "_s, 8, Ask::Before, 8, WordBoundary, u"Lee"_s,
        4, 7);
    row("space after the first word", u"Ann Lee "_s, 8, Ask::After, 0, WordBoundary, u" "_s, 3, 4);
    row("full stop", u"Ann Lee."_s, 8, Ask::At, 8, WordBoundary, u"."_s, 7, 8);
    row("word before the full stop", u"Ann Lee."_s, 8, Ask::Before, 8, WordBoundary, u"Lee"_s, 4,
        7);
    row("sentence with its full stop", u"Ann Lee."_s, 8, Ask::At, 8, SentenceBoundary,
        u"Ann Lee."_s, 0, 8);
    row("second sentence", u"Ann. Lee"_s, 8, Ask::At, 8, SentenceBoundary, u"Lee"_s, 5, 8);
    row("first sentence", u"Ann. Lee"_s, 8, Ask::Before, -2, SentenceBoundary, u"Ann. "_s, 0, 5);
    row("sentence after the first", u"Ann. Lee"_s, 8, Ask::After, 1, SentenceBoundary, u"Lee"_s, 5,
        8);
    row("first word at the caret", u"Ann Lee"_s, 0, Ask::At, -2, WordBoundary, u"Ann"_s, 0, 3);
    row("space and bracket between words", u"Lee (Ann)"_s, 0, Ask::At, 3, WordBoundary, u" ("_s, 3,
        5);
    row("apostrophe inside a word", u"Thor's"_s, 6, Ask::At, 6, WordBoundary, u"Thor's"_s, 0, 6);
    row("both halves of a pair", u"a\U0001F642"_s, 3, Ask::At, 2, CharBoundary, u"\U0001F642"_s, 1,
        3);
    row("nothing in an empty field", QString(), 0, Ask::At, 0, WordBoundary, {}, -1, -1);
    row("no line in an empty field", QString(), 0, Ask::At, -2, LineBoundary, {}, -1, -1);
    row("beyond the end", u"Ann"_s, 3, Ask::At, 4, WordBoundary, {}, -1, -1);
    row("before the start", u"Ann"_s, 3, Ask::Before, -3, WordBoundary, {}, -1, -1);
}

// The pieces of a text field, where Qt 6.4's own interface never answers at the end.
void TestTextAnswers::fieldPieces()
{
    QFETCH(QString, typed);
    QFETCH(int, caret);
    QFETCH(int, ask);
    QFETCH(int, offset);
    QFETCH(int, boundary);
    QFETCH(QString, piece);
    QFETCH(int, start);
    QFETCH(int, end);
    frmMain window;
    FETCH_CONTROL(QLineEdit, edit, window, u"txtName"_s);
    edit->setText(typed);
    edit->setCursorPosition(caret);
    asked.subject = "txtName";
    const Reply answer = textAt(textOf(edit), Ask(ask), offset, boundary);
    QCOMPARE(toText(answer), toText(Reply { piece, start, end }));
}

// Every text a screen reader finds in the program's windows, whatever its interface, answers:
// the reading view before any reading, the fields as they stand, any text of Qt's own.
void TestTextAnswers::everyTextOfEveryWindow()
{
    frmMain main;
    frmExitScreen exitScreen;
    frmAbout about;
    QStringList found;
    for (QWidget *window : std::initializer_list<QWidget *> { &main, &exitScreen, &about }) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QList<QWidget *> widgets = window->findChildren<QWidget *>() << window;
        for (QWidget *widget : widgets) {
            QAccessibleTextInterface *text = textOf(widget);
            if (!text)
                continue;
            const QString who = QString::fromLatin1(window->metaObject()->className()) + u' '
                + widget->objectName();
            found << QString::fromLatin1(widget->metaObject()->className());
            answersEverything(text, who.toUtf8(), qobject_cast<ReadingView *>(widget));
            if (QTest::currentTestFailed())
                return;
        }
    }
    QVERIFY2(found.contains(u"ReadingView"_s) && found.count(u"QLineEdit"_s) == 5,
        qPrintable(found.join(u", "_s)));
}

QTEST_MAIN(TestTextAnswers)
#include "tst_textanswers.moc"
