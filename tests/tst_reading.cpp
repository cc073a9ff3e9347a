#include "ComposeReading.h"
#include "FakeScreens.h"
#include "ImageList.h"
#include "ReadingProbe.h"
#include "ReadingView.h"
#include "modAddPicToRTB.h"
#include "modVeyloom.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

using namespace modVeyloom;

namespace {

// Per chakra: -1 not ticked, otherwise how many of its questions get their scoring answer
// (the rest get "May Be").
using Counts = std::array<int, 7>;
constexpr int Untested = -1;

TestRun takeTest(const Counts &counts)
{
    LoadCatalogue();
    FakeScreens screens;
    for (int c = 0; c < 7; ++c)
        screens.ticked[c] = counts[c] != Untested;
    TestRun run;
    StartTest(run, screens);
    while (screens.readings == 0) {
        const int q = run.QuestionList[run.CurrentQuestion];
        const int c = q / 8;
        if (q % 8 < counts[c])
            screens.answer = ScoringAnswers[q] == "Yes" ? Answer::Yes : Answer::No;
        else
            screens.answer = Answer::MayBe;
        NextQuestion(run, screens);
    }
    return run;
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

const QString Picture = QString(QChar::ObjectReplacementCharacter);

// The lines a chakra's block must show, in order.
QStringList expectedBlock(int chakra, int count)
{
    const QString name = text(ChakraNames[chakra]);
    if (count >= 3 && count <= 5) {
        return { name + QStringLiteral(" is Open"), text(OpenStateTexts[chakra]), QString(),
            QStringLiteral("Your Chosen Chakra is open. There is no Corresponding Runes "
                           "Card."),
            QString() };
    }
    const bool under = count <= 2;
    QStringList lines
        = { name + (under ? QStringLiteral(" is Underactive") : QStringLiteral(" is Overactive")),
              text(under ? UnderActiveTexts[chakra] : OverActiveTexts[chakra]), QString() };
    const std::vector<std::vector<int>> groups
        = { { 0, 11, 6 }, { 15, 14, 8, 9, 4, 2 }, { 17, 12, 7, 10, 5, 1 }, { 13, 16, 3 },
              { 15, 14, 8, 9, 4, 2 }, { 17, 12, 7, 10, 5, 1 }, { 0, 11, 6 } };
    for (int r : groups[chakra]) {
        lines << Picture << name
              << QStringLiteral("Corresponding Runes Stone: ") + text(RuneNames[r])
              << text(RuneMeanings[r]) << text(RuneReversedMeanings[r])
              << text(RuneMerkstaveMeanings[r]) << QString();
    }
    return lines;
}

QStringList expectedReading(const Counts &counts)
{
    LoadCatalogue();
    QStringList lines;
    for (int c = 0; c < 7; ++c) {
        if (counts[c] != Untested)
            lines << expectedBlock(c, counts[c]);
    }
    // The document always has one block after the last line break.
    lines << QString();
    return lines;
}

QStringList textLines(const std::vector<ReadingLine> &lines)
{
    QStringList texts;
    for (const ReadingLine &line : lines)
        texts << line.text;
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Counts)

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void imageListPositions_data();
    void imageListPositions();
    void readingText_data();
    void readingText();
    void formatting();
    void picturesAreTheRunes();
    void secondReadingReplacesFirst();
    void nothingPlacedOnClipboard();
    void mouseOverViewEmptiesClipboard_data();
    void mouseOverViewEmptiesClipboard();
    void positionsWithoutPicture_data();
    void positionsWithoutPicture();
    void userCannotEdit();
    void nothingEntersFromOutside_data();
    void nothingEntersFromOutside();

private:
    std::unique_ptr<ReadingView> m_view;
    ImageList m_pictures;
};

void TestReading::init()
{
    m_view = std::make_unique<ReadingView>();
    m_view->resize(483, 225);
}

void TestReading::imageListPositions_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");
    QTest::newRow("0") << 0 << QString();
    for (int position = 1; position <= RuneCount; ++position) {
        const QString key = text(kRuneNames[position - 1]).toLower() + QStringLiteral(".jpg");
        QTest::addRow("%d", position) << position << key;
    }
    QTest::newRow("19") << 19 << QString();
}

void TestReading::imageListPositions()
{
    QFETCH(int, position);
    QFETCH(QString, key);
    const QImage picture = m_pictures.picture(position);
    QCOMPARE(ImageList::key(position), key);
    if (key.isEmpty()) {
        QVERIFY(picture.isNull());
        return;
    }
    // Position p is the picture of rune p - 1, compiled in from the committed file.
    QCOMPARE(picture.size(), QSize(113, 151));
    const QImage file(QStringLiteral(CV_RESOURCES_DIR "/runes/") + key);
    QCOMPARE(
        picture.convertToFormat(QImage::Format_RGB32), file.convertToFormat(QImage::Format_RGB32));
}

void TestReading::readingText_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<int>("pictures");
    const int u = Untested;
    QTest::newRow("every chakra open") << Counts { 3, 4, 5, 3, 4, 5, 4 } << 0;
    QTest::newRow("sacral over-active") << Counts { u, 8, u, u, u, u, u } << 6;
    QTest::newRow("crown and root, root first") << Counts { 0, u, u, u, u, u, 7 } << 6;
    QTest::newRow("boundaries 2 3 5 6") << Counts { 2, u, 3, u, 5, 6, u } << 9;
    QTest::newRow("navel under-active, curly apostrophes") << Counts { u, u, 1, u, u, u, u } << 6;
    QTest::newRow("all seven not open") << Counts { 0, 8, 2, 6, 1, 7, 0 } << 33;
}

void TestReading::readingText()
{
    QFETCH(Counts, counts);
    QFETCH(int, pictures);
    ComposeReading(*m_view, m_pictures, takeTest(counts));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());

    QCOMPARE(textLines(lines), expectedReading(counts));
    const auto pictureLines = std::count_if(
        lines.begin(), lines.end(), [](const ReadingLine &l) { return !l.picture.isNull(); });
    QCOMPARE(int(pictureLines), pictures);
    // Plain text taken from the view gives the same lines.
    QCOMPARE(m_view->toPlainText().split(QLatin1Char('\n')), textLines(lines));
    QVERIFY(m_view->isReadOnly());
}

void TestReading::formatting()
{
    ComposeReading(*m_view, m_pictures, takeTest({ 0, 4, 8, Untested, 3, Untested, 6 }));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());
    int boldLines = 0;
    for (const ReadingLine &line : lines) {
        QVERIFY2(line.allGreen, qPrintable(line.text));
        const bool heading = line.text.endsWith(QStringLiteral(" is Underactive"))
            || line.text.endsWith(QStringLiteral(" is Open"))
            || line.text.endsWith(QStringLiteral(" is Overactive"))
            || line.text.startsWith(QStringLiteral("Corresponding Runes Stone: "))
            || line.text.startsWith(QStringLiteral("Your Chosen Chakra is open."))
            || std::find(ChakraNames.begin(), ChakraNames.end(), line.text.toStdString())
                != ChakraNames.end();
        QCOMPARE(line.bold, heading);
        QCOMPARE(line.anyBold, heading);
        boldLines += heading;
    }
    // Five headings, two open notes, and two bold lines for each of 3 + 6 + 3 runes.
    QCOMPARE(boldLines, 5 + 2 + 2 * 12);
}

void TestReading::picturesAreTheRunes()
{
    ComposeReading(
        *m_view, m_pictures, takeTest({ Untested, Untested, 0, 8, Untested, Untested, Untested }));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());
    const QStringList names
        = { QStringLiteral("Uruz"), QStringLiteral("Nauthiz"), QStringLiteral("Isa"),
              QStringLiteral("Laguz"), QStringLiteral("Gebo"), QStringLiteral("Ansuz"),
              QStringLiteral("Raidho"), QStringLiteral("Tiwas"), QStringLiteral("Eihwas") };
    int found = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].picture.isNull())
            continue;
        QCOMPARE(lines[i].text, Picture);
        const QString name
            = lines[i + 2].text.mid(QStringLiteral("Corresponding Runes Stone: ").size());
        QCOMPARE(name, names[found]);
        const int position = int(std::find(RuneNames.begin(), RuneNames.end(), name.toStdString())
                                 - RuneNames.begin())
            + 1;
        QCOMPARE(lines[i].pictureName, QStringLiteral("Rune stone ") + name);
        QCOMPARE(lines[i].picture.size(), QSize(113, 151));
        QCOMPARE(lines[i].picture.convertToFormat(QImage::Format_RGB32),
            m_pictures.picture(position).convertToFormat(QImage::Format_RGB32));
        ++found;
    }
    QCOMPARE(found, names.size());
}

void TestReading::secondReadingReplacesFirst()
{
    const Counts first = { 0, 8, 1, 7, 2, 6, 0 };
    const Counts second = { Untested, Untested, Untested, 4, Untested, Untested, Untested };
    ComposeReading(*m_view, m_pictures, takeTest(first));
    ComposeReading(*m_view, m_pictures, takeTest(second));
    QCOMPARE(textLines(readingLines(m_view->document())), expectedReading(second));

    ComposeReading(*m_view, m_pictures, takeTest(first));
    const QString once = m_view->toPlainText();
    ComposeReading(*m_view, m_pictures, takeTest(first));
    QCOMPARE(m_view->toPlainText(), once);
}

void TestReading::nothingPlacedOnClipboard()
{
    QClipboard *clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("copied before the reading"));
    QList<QStringList> formatsAtEachChange;
    connect(clipboard, &QClipboard::dataChanged, this, [&] {
        const QMimeData *data = clipboard->mimeData();
        formatsAtEachChange << (data ? data->formats() : QStringList());
    });
    ComposeReading(
        *m_view, m_pictures, takeTest({ 8, Untested, Untested, Untested, Untested, Untested, 0 }));
    disconnect(clipboard, nullptr, this, nullptr);
    // Emptied once, for the copied text; the six pictures never passed through it.
    QCOMPARE(formatsAtEachChange, QList<QStringList> { QStringList() });
    QVERIFY(clipboard->text().isEmpty());
}

void TestReading::mouseOverViewEmptiesClipboard_data()
{
    QTest::addColumn<int>("action");
    QTest::newRow("move") << 0;
    QTest::newRow("press") << 1;
    QTest::newRow("release") << 2;
    QTest::newRow("click") << 3;
    QTest::newRow("double click") << 4;
}

void TestReading::mouseOverViewEmptiesClipboard()
{
    QFETCH(int, action);
    ComposeReading(*m_view, m_pictures,
        takeTest({ 1, Untested, Untested, Untested, Untested, Untested, Untested }));
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QWidget *viewport = m_view->viewport();
    const QPoint spot(40, 40);
    QApplication::clipboard()->setText(QStringLiteral("selected and copied"));
    switch (action) {
    case 0:
        QTest::mouseMove(viewport, spot);
        break;
    case 1:
        QTest::mousePress(viewport, Qt::LeftButton, {}, spot);
        break;
    case 2:
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, spot);
        break;
    case 3:
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, spot);
        break;
    case 4:
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, spot);
        break;
    }
    QTRY_VERIFY(QApplication::clipboard()->text().isEmpty());
}

void TestReading::positionsWithoutPicture_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("altText");
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("1") << 1 << QStringLiteral("Rune stone Algiz");
    QTest::newRow("18") << 18 << QStringLiteral("Rune stone Uruz");
    QTest::newRow("19") << 19 << QString();
    QTest::newRow("-1") << -1 << QString();
}

void TestReading::positionsWithoutPicture()
{
    QFETCH(int, position);
    QFETCH(QString, altText);
    const bool inserts = !altText.isEmpty();
    m_view->setReadOnlyFlag(false);
    QApplication::clipboard()->setText(QStringLiteral("left over"));
    modAddPicToRTB::AddPicToRTB(*m_view, m_pictures, std::int16_t(position));
    m_view->textCursor().insertText(QStringLiteral("after"));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());
    QCOMPARE(lines.size(), std::size_t(1));
    QCOMPARE(lines[0].text, inserts ? Picture + QStringLiteral("after") : QStringLiteral("after"));
    QCOMPARE(lines[0].picture.size(), inserts ? QSize(113, 151) : QSize(0, 0));
    QCOMPARE(lines[0].pictureName, altText);
    QVERIFY(QApplication::clipboard()->text().isEmpty());
}

void TestReading::userCannotEdit()
{
    ComposeReading(*m_view, m_pictures,
        takeTest({ 4, Untested, Untested, Untested, Untested, Untested, Untested }));
    const QString before = m_view->toPlainText();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->setFocus();
    QTest::keyClicks(m_view.get(), QStringLiteral("typed"));
    QTest::keyClick(m_view.get(), Qt::Key_Backspace);
    QTest::keyClick(m_view.get(), Qt::Key_Delete);
    QCOMPARE(m_view->toPlainText(), before);

    // Selecting and copying with the keyboard still works.
    QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), before);
}

void TestReading::nothingEntersFromOutside_data()
{
    // A text format and its bytes, or a picture.
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("content");
    QTest::newRow("text") << QStringLiteral("text/plain") << QVariant(QByteArray("pasted"));
    QTest::newRow("html") << QStringLiteral("text/html") << QVariant(QByteArray("<b>pasted</b>"));
    QTest::newRow("rune picture") << QString() << QVariant(m_pictures.picture(1));
    QTest::newRow("no formats") << QString() << QVariant();
}

void TestReading::nothingEntersFromOutside()
{
    QFETCH(QString, format);
    QFETCH(QVariant, content);
    // Writable, as while a reading is written.
    m_view->setReadOnlyFlag(false);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    auto *copied = new QMimeData;
    QMimeData dragged;
    for (QMimeData *data : { copied, &dragged }) {
        if (content.typeId() == QMetaType::QImage)
            data->setImageData(content);
        else if (!format.isEmpty())
            data->setData(format, content.toByteArray());
    }
    QApplication::clipboard()->setMimeData(copied);
    m_view->paste();
    QTest::keyClick(m_view.get(), Qt::Key_V, Qt::ControlModifier);
    QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &drop);
    QVERIFY(m_view->toPlainText().isEmpty());
}

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
