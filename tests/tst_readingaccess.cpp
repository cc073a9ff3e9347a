// What a screen reader is told of the reading through the view's accessible text interface:
// every rune picture read by its name, in lines, offsets and events alike.
#include "ComposeReading.h"
#include "FakeScreens.h"
#include "ImageList.h"
#include "ReadingView.h"
#include "modVeyloom.h"

#include <QAccessible>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace {

// A finished test of the chakras ticked (0 Root), each with that many of its questions given
// their scoring answer and the rest "May Be": none under-active, three open, eight over-active.
TestRun takeTest(std::initializer_list<int> chakras, int points)
{
    using namespace modVeyloom;
    LoadCatalogue();
    FakeScreens screens;
    for (int chakra : chakras)
        screens.ticked[chakra] = true;
    TestRun run;
    StartTest(run, screens);
    while (screens.readings == 0) {
        const int q = run.QuestionList[run.CurrentQuestion];
        screens.answer = q % 8 >= points ? Answer::MayBe
            : ScoringAnswers[q] == "Yes" ? Answer::Yes
                                         : Answer::No;
        NextQuestion(run, screens);
    }
    return run;
}

// Root and Navel under-active: Algiz, Mannaz and Hagalaz, then Uruz, Nauthiz, Isa, Laguz, Gebo
// and Ansuz.
const std::initializer_list<int> RootAndNavel = { 0, 2 };
const QStringList RuneNames = { u"Algiz rune stone"_s, u"Mannaz rune stone"_s,
    u"Hagalaz rune stone"_s, u"Uruz rune stone"_s, u"Nauthiz rune stone"_s, u"Isa rune stone"_s,
    u"Laguz rune stone"_s, u"Gebo rune stone"_s, u"Ansuz rune stone"_s };

QAccessibleTextInterface *textOf(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->textInterface() : nullptr;
}

// The document position of the view's picture of that number, counted from 0.
int picturePosition(const QTextDocument *document, int number)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat() && number-- == 0)
                return it.fragment().position();
        }
    }
    return -1;
}

struct Line {
    QString text;
    int start = -1;
    int end = -1;
    bool operator==(const Line &) const = default;
};

char *toString(const Line &line)
{
    return QTest::toString(u"\"%1\" [%2, %3)"_s.arg(line.text).arg(line.start).arg(line.end));
}

Line lineAt(QAccessibleTextInterface *text, int offset)
{
    Line line;
    line.text = text->textAtOffset(offset, QAccessible::LineBoundary, &line.start, &line.end);
    return line;
}

// A text edit of Qt's own beside the view, holding a copy of its document at the same size, so
// that Qt's own interface tells how the same text reads without names.
std::unique_ptr<QTextEdit> twinOf(const ReadingView &view)
{
    auto twin = std::make_unique<QTextEdit>();
    twin->setVerticalScrollBarPolicy(view.verticalScrollBarPolicy());
    twin->setFont(view.font());
    twin->setDocument(view.document()->clone(twin.get()));
    twin->setReadOnly(true);
    twin->resize(view.size());
    twin->show();
    return twin;
}

// The accessibility events Qt is asked to pass on, with what each tells.
struct Told {
    QAccessible::Event type;
    int position;
    QString text;
    bool operator==(const Told &) const = default;
};

char *toString(const Told &told)
{
    return QTest::toString(
        u"%1 at %2: \"%3\""_s.arg(int(told.type)).arg(told.position).arg(told.text));
}

// What the views told, in order.
QList<Told> told;

void record(QAccessibleEvent *event)
{
    if (!qobject_cast<ReadingView *>(event->object()))
        return;
    switch (event->type()) {
    case QAccessible::TextInserted: {
        const auto *inserted = static_cast<QAccessibleTextInsertEvent *>(event);
        told << Told { event->type(), inserted->changePosition(), inserted->textInserted() };
        break;
    }
    case QAccessible::TextRemoved: {
        const auto *removed = static_cast<QAccessibleTextRemoveEvent *>(event);
        told << Told { event->type(), removed->changePosition(), removed->textRemoved() };
        break;
    }
    case QAccessible::TextUpdated: {
        const auto *updated = static_cast<QAccessibleTextUpdateEvent *>(event);
        told << Told { event->type(), updated->changePosition(),
            updated->textRemoved() + u"|"_s + updated->textInserted() };
        break;
    }
    case QAccessible::TextCaretMoved:
        told << Told { event->type(),
            static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition(), {} };
        break;
    default:
        break;
    }
}

} // namespace

class TestReadingAccess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void spokenText();
    void pictureLines_data();
    void pictureLines();
    void linesOneByOne();
    void caret_data();
    void caret();
    void pictureOnScreen();
    void withoutPictures();
    void sameAsQtTextEdit();
    void eventsTellSpokenText();

private:
    std::unique_ptr<ReadingView> m_view;
    ImageList m_pictures;
};

void TestReadingAccess::initTestCase()
{
    QAccessible::installUpdateHandler(record);
}

void TestReadingAccess::init()
{
    m_view = std::make_unique<ReadingView>();
    m_view->resize(483, 225);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestReadingAccess::cleanup()
{
    m_view.reset();
    told.clear();
}

void TestReadingAccess::spokenText()
{
    ComposeReading(*m_view, m_pictures, takeTest(RootAndNavel, 0));
    QAccessibleTextInterface *text = textOf(m_view.get());
    QVERIFY(text);
    const QString whole = text->text(0, text->characterCount());
    QCOMPARE(whole.size(), text->characterCount());
    QVERIFY(!whole.contains(QChar::ObjectReplacementCharacter));
    QCOMPARE(QAccessible::queryAccessibleInterface(m_view.get())->text(QAccessible::Value), whole);
    QVERIFY(whole.startsWith(u"Root Chakra (Muladhara) is Underactive\n"
                             "Fear, nervousness, inferiority and shyness are the consequences of "
                             "shaky grounding; you rarely feel safe.\n"
                             "\n"
                             "Algiz rune stone\n"
                             "Root Chakra (Muladhara)\n"
                             "Corresponding Runes Stone: Algiz\n"_s));
    // Each picture's one character becomes its name.
    int names = 0;
    for (const QString &name : RuneNames)
        names += int(name.size());
    QCOMPARE(text->characterCount(),
        m_view->document()->characterCount() - 1 - int(RuneNames.size()) + names);
    for (const QString &name : RuneNames)
        QVERIFY2(whole.contains(u'\n' + name + u'\n'), qPrintable(name));
}

void TestReadingAccess::pictureLines_data()
{
    QTest::addColumn<QString>("window"); // the picture's line with the lines around it
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("after");
    QTest::newRow("Algiz") << u"\n\nAlgiz rune stone\nRoot Chakra (Muladhara)\n"_s
                           << u"Algiz rune stone"_s << u"Root Chakra (Muladhara)"_s;
    QTest::newRow("Hagalaz") << u"\n\nHagalaz rune stone\nRoot Chakra (Muladhara)\n"_s
                             << u"Hagalaz rune stone"_s << u"Root Chakra (Muladhara)"_s;
    QTest::newRow("Uruz") << u"\n\nUruz rune stone\nNavel Chakra (Manipura)\n"_s
                          << u"Uruz rune stone"_s << u"Navel Chakra (Manipura)"_s;
    QTest::newRow("Ansuz") << u"\n\nAnsuz rune stone\nNavel Chakra (Manipura)\n"_s
                           << u"Ansuz rune stone"_s << u"Navel Chakra (Manipura)"_s;
}

void TestReadingAccess::pictureLines()
{
    QFETCH(QString, window);
    QFETCH(QString, line);
    QFETCH(QString, after);
    ComposeReading(*m_view, m_pictures, takeTest(RootAndNavel, 0));
    QAccessibleTextInterface *text = textOf(m_view.get());
    QCOMPARE(lineAt(text, 0), (Line { u"Root Chakra (Muladhara) is Underactive"_s, 0, 38 }));
    const int found = int(text->text(0, text->characterCount()).indexOf(window));
    QVERIFY(found > 0);
    const int start = found + 2;
    const int end = start + int(line.size());
    // From anywhere in the name, its first and last letters too.
    for (int offset : { start, start + 3, end - 1 })
        QCOMPARE(lineAt(text, offset), (Line { line, start, end }));
    Line next;
    next.text = text->textAfterOffset(start, QAccessible::LineBoundary, &next.start, &next.end);
    QCOMPARE(next, (Line { after, end + 1, end + 1 + int(after.size()) }));
    QCOMPARE(lineAt(text, end + 1), next);
    Line before;
    before.text
        = text->textBeforeOffset(start, QAccessible::LineBoundary, &before.start, &before.end);
    QCOMPARE(before, (Line { QString(), start - 1, start - 1 }));
    // Say All reads by sentences and paragraphs of the same text.
    int from = 0, to = 0;
    QCOMPARE(
        text->textAtOffset(start + 3, QAccessible::SentenceBoundary, &from, &to), line + u'\n');
    QCOMPARE(
        text->textAtOffset(start + 3, QAccessible::ParagraphBoundary, &from, &to), line + u'\n');
    QCOMPARE(text->textAtOffset(start + 3, QAccessible::WordBoundary, &from, &to),
        line.first(line.indexOf(u' ')));
}

void TestReadingAccess::linesOneByOne()
{
    // Line after line, as the arrow keys read them: the lines on screen, wrapped at the view's
    // width as Qt's own text edit wraps them, each picture's line read as its name.
    ComposeReading(*m_view, m_pictures, takeTest(RootAndNavel, 0));
    const auto twin = twinOf(*m_view);
    QAccessibleTextInterface *qt = textOf(twin.get());
    QStringList expected;
    int pictures = 0;
    for (int position = 0; position <= qt->characterCount();) {
        const Line line = lineAt(qt, position);
        expected << (line.text == QChar::ObjectReplacementCharacter ? RuneNames.at(pictures++)
                                                                    : line.text);
        position = line.end + 1;
    }
    QCOMPARE(pictures, RuneNames.size());

    QAccessibleTextInterface *text = textOf(m_view.get());
    QStringList heard;
    // Bounded, so that a line that never ends the walk fails it.
    for (Line line = lineAt(text, 0); line.start >= 0 && heard.size() <= expected.size();) {
        heard << line.text;
        line.text
            = text->textAfterOffset(line.start, QAccessible::LineBoundary, &line.start, &line.end);
    }
    QCOMPARE(heard, expected);
    QVERIFY(expected.size() > m_view->document()->blockCount());
}

void TestReadingAccess::caret_data()
{
    QTest::addColumn<int>("picture");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("after");
    QTest::newRow("Algiz") << 0 << u"Algiz rune stone"_s << u"Root Chakra (Muladhara)"_s;
    QTest::newRow("Uruz") << 3 << u"Uruz rune stone"_s << u"Navel Chakra (Manipura)"_s;
    QTest::newRow("Ansuz") << 8 << u"Ansuz rune stone"_s << u"Navel Chakra (Manipura)"_s;
}

void TestReadingAccess::caret()
{
    QFETCH(int, picture);
    QFETCH(QString, name);
    QFETCH(QString, after);
    ComposeReading(*m_view, m_pictures, takeTest(RootAndNavel, 0));
    QAccessibleTextInterface *text = textOf(m_view.get());
    const int position = picturePosition(m_view->document(), picture);
    QTextCursor cursor = m_view->textCursor();
    cursor.setPosition(position);
    m_view->setTextCursor(cursor);
    const int start = text->cursorPosition();
    QCOMPARE(text->text(start, start + int(name.size()) + 1), name + u'\n');
    cursor.setPosition(position + 1);
    m_view->setTextCursor(cursor);
    QCOMPARE(text->cursorPosition(), start + int(name.size()));
    // After the picture's line, offsets run on with its name's length.
    cursor.setPosition(position + 2);
    m_view->setTextCursor(cursor);
    QCOMPARE(text->cursorPosition(), start + int(name.size()) + 1);
    QCOMPARE(lineAt(text, text->cursorPosition()).text, after);

    text->setCursorPosition(start);
    QCOMPARE(m_view->textCursor().position(), position);
    text->setCursorPosition(start + int(name.size()));
    QCOMPARE(m_view->textCursor().position(), position + 1);
    text->setCursorPosition(start + 4);
    QCOMPARE(m_view->textCursor().position(), position);

    // A selection of part of a name takes in the picture.
    text->setSelection(0, start + 2, start + 4);
    QCOMPARE(m_view->textCursor().selectionStart(), position);
    QCOMPARE(m_view->textCursor().selectionEnd(), position + 1);
    int from = 0, to = 0;
    text->selection(0, &from, &to);
    QCOMPARE(QPair(from, to), QPair(start, start + int(name.size())));
}

void TestReadingAccess::pictureOnScreen()
{
    ComposeReading(*m_view, m_pictures, takeTest(RootAndNavel, 0));
    QAccessibleTextInterface *text = textOf(m_view.get());
    const QString name = u"Ansuz rune stone"_s;
    const int start = int(text->text(0, text->characterCount()).indexOf(u'\n' + name)) + 1;
    const int end = start + int(name.size());
    // The last picture, far down the reading, brought into sight; its name takes its place,
    // the picture's 113 pixels wide on a line as high as it is.
    text->scrollToSubstring(start, end);
    const QRect picture = text->characterRect(start);
    QCOMPARE(picture.width(), 113);
    QVERIFY(picture.height() >= 151);
    QCOMPARE(text->characterRect(end - 1), picture);
    const QRect viewport(m_view->viewport()->mapToGlobal(QPoint()), m_view->viewport()->size());
    QVERIFY(viewport.contains(picture));
    const int hit = text->offsetAtPoint(picture.topLeft() + QPoint(10, 10));
    QVERIFY2(hit >= start && hit <= end, qPrintable(QString::number(hit)));

    // The picture's format covers its name; the bold heading after it is a run of its own.
    int from = 0, to = 0;
    text->attributes(start + 3, &from, &to);
    QCOMPARE(QPair(from, to), QPair(start, end));
    QVERIFY(text->attributes(end + 1, &from, &to).contains(u"font-weight:bold;"_s));
    QCOMPARE(text->text(from, to), u"Navel Chakra (Manipura)"_s);
}

void TestReadingAccess::withoutPictures()
{
    // Heart open: no rune stone.
    ComposeReading(*m_view, m_pictures, takeTest({ 3 }, 4));
    QVERIFY(picturePosition(m_view->document(), 0) < 0);
    QAccessibleTextInterface *text = textOf(m_view.get());
    QCOMPARE(text->text(0, text->characterCount()), m_view->toPlainText());
    QCOMPARE(text->characterCount(), m_view->document()->characterCount() - 1);
    for (int offset = 0; offset <= text->characterCount(); ++offset) {
        text->setCursorPosition(offset);
        QCOMPARE(m_view->textCursor().position(), offset);
        QCOMPARE(text->cursorPosition(), offset);
    }
}

void TestReadingAccess::sameAsQtTextEdit()
{
    // Without pictures, the view reads as Qt's own text edit does: text, lines and structure.
    ComposeReading(*m_view, m_pictures, takeTest({ 3 }, 4));
    const auto twin = twinOf(*m_view);
    QAccessibleInterface *qt = QAccessible::queryAccessibleInterface(twin.get());
    QAccessibleInterface *ours = QAccessible::queryAccessibleInterface(m_view.get());
    QCOMPARE(ours->role(), qt->role());
    // Only the view, shown first, is the active window and has the focus.
    QAccessible::State state = ours->state();
    QVERIFY(state.focused && state.readOnly && state.multiLine && state.focusable);
    QVERIFY(!state.editable);
    state.focused = state.active = false;
    QCOMPARE(state, qt->state());
    QCOMPARE(ours->text(QAccessible::Value), qt->text(QAccessible::Value));
    QCOMPARE(ours->childCount(), 3);
    QCOMPARE(ours->childCount(), qt->childCount());
    for (int i = 0; i < qt->childCount(); ++i) {
        QCOMPARE(ours->child(i)->role(), qt->child(i)->role());
        QCOMPARE(ours->child(i)->object()->objectName(), qt->child(i)->object()->objectName());
    }
    QCOMPARE(ours->child(0)->object(), m_view->viewport());
    QAccessibleTextInterface *text = ours->textInterface();
    QCOMPARE(text->characterCount(), qt->textInterface()->characterCount());
    int wrapped = 0;
    for (int offset = 0; offset <= text->characterCount(); ++offset) {
        const Line line = lineAt(text, offset);
        QCOMPARE(line, lineAt(qt->textInterface(), offset));
        wrapped
            += line.end < text->characterCount() && text->text(line.end, line.end + 1) != u"\n"_s;
    }
    QVERIFY(wrapped > 0);
}

void TestReadingAccess::eventsTellSpokenText()
{
    // Qt tells of changes only while a screen reader listens, here from before the view was
    // made: on the accessibility bus of tst_readingaccess_bus.
    if (qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        QSKIP("no accessibility bus: tst_readingaccess_bus runs this");
    m_view.reset();
    QTRY_VERIFY(QAccessible::isActive());
    init();
    ComposeReading(*m_view, m_pictures, takeTest({ 3 }, 4));
    QAccessibleTextInterface *text = textOf(m_view.get());
    const QString open = text->text(0, text->characterCount());
    ComposeReading(*m_view, m_pictures, takeTest(RootAndNavel, 0));
    const QString reading = text->text(0, text->characterCount());
    QVERIFY(reading.contains(u"\nUruz rune stone\n"_s));
    // Each reading replaces the one before it whole, told once in the spoken text, and the
    // caret is at its top.
    QList<Told> changes;
    int caret = -1;
    for (const Told &event : std::as_const(told)) {
        if (event.type == QAccessible::TextCaretMoved)
            caret = event.position;
        else
            changes << event;
    }
    QCOMPARE(changes,
        (QList<Told> { { QAccessible::TextUpdated, 0, u"|"_s + open },
            { QAccessible::TextUpdated, 0, open + u"|"_s + reading } }));
    QCOMPARE(caret, 0);
    QCOMPARE(text->cursorPosition(), 0);
}

QTEST_MAIN(TestReadingAccess)
#include "tst_readingaccess.moc"
