#include "ComposeReading.h"
#include "FakeScreens.h"
#include "ImageList.h"
#include "ReadingProbe.h"
#include "ReadingView.h"
#include "modAddPicToRTB.h"
#include "modVeyloom.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
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

// The name of the committed rune picture file that holds the same image.
QString pictureFile(const QImage &picture)
{
    static const auto files = [] {
        std::vector<std::pair<QString, QImage>> list;
        const QDir folder(QStringLiteral(CV_RESOURCES_DIR "/runes"));
        for (const QFileInfo &file : folder.entryInfoList({ QStringLiteral("*.jpg") })) {
            list.emplace_back(
                file.fileName(), QImage(file.filePath()).convertToFormat(QImage::Format_RGB32));
        }
        return list;
    }();
    const QImage shown = picture.convertToFormat(QImage::Format_RGB32);
    for (const auto &[name, image] : files) {
        if (image == shown)
            return name;
    }
    return QStringLiteral("unknown");
}

// The reading as the golden files write it: "**" starts a bold line and "[picture <file>]"
// stands for a picture. A line not all in dark green, or bold only in part, starts with "!!",
// which no golden line does.
QStringList marked(const std::vector<ReadingLine> &lines)
{
    QStringList texts;
    for (const ReadingLine &line : lines) {
        QString text = line.text;
        if (!line.picture.isNull())
            text.replace(Picture, QStringLiteral("[picture %1]").arg(pictureFile(line.picture)));
        if (line.bold)
            text.prepend(QStringLiteral("**"));
        if (!line.allGreen || line.bold != line.anyBold)
            text.prepend(QStringLiteral("!!"));
        texts << text;
    }
    return texts;
}

// The golden reading of all seven chakras in one state, cut into one block per chakra at the
// bold headings.
std::array<QStringList, 7> goldenBlocks(const QString &state)
{
    QFile file(QStringLiteral(CV_READINGS_DIR "/all-%1.txt").arg(state.toLower()));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no golden reading %s", qPrintable(file.fileName()));
    std::array<QStringList, 7> blocks;
    int chakra = -1;
    // The file ends with the line break after the reading's last line.
    for (const QString &line : QString::fromUtf8(file.readAll()).chopped(1).split(u'\n')) {
        chakra += line.startsWith(u"**") && line.endsWith(QStringLiteral(" is ") + state);
        if (chakra < 0 || chakra > 6)
            qFatal("%s holds more or less than seven chakras", qPrintable(file.fileName()));
        blocks[chakra] << line;
    }
    return blocks;
}

// The lines the reading of a test must show, marked as the golden files mark them.
QStringList expectedReading(const Counts &counts)
{
    static const std::array<std::array<QStringList, 7>, 3> golden
        = { goldenBlocks(QStringLiteral("Underactive")), goldenBlocks(QStringLiteral("Open")),
              goldenBlocks(QStringLiteral("Overactive")) };
    QStringList lines;
    for (int c = 0; c < 7; ++c) {
        if (counts[c] != Untested)
            lines << golden[counts[c] <= 2 ? 0 : counts[c] <= 5 ? 1 : 2][c];
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
    const int u = Untested;
    QTest::newRow("all seven under-active") << Counts { 0, 1, 2, 0, 1, 2, 0 };
    QTest::newRow("all seven open") << Counts { 3, 4, 5, 3, 4, 5, 4 };
    QTest::newRow("all seven over-active") << Counts { 6, 7, 8, 6, 7, 8, 6 };
    QTest::newRow("sacral over-active") << Counts { u, 8, u, u, u, u, u };
    QTest::newRow("crown and root, root first") << Counts { 0, u, u, u, u, u, 7 };
    QTest::newRow("boundaries 2 3 5 6") << Counts { 2, u, 3, u, 5, 6, u };
    QTest::newRow("navel under-active, curly apostrophes") << Counts { u, u, 1, u, u, u, u };
    QTest::newRow("states mixed") << Counts { 0, 4, 8, u, 3, u, 6 };
    QTest::newRow("all seven not open") << Counts { 0, 8, 2, 6, 1, 7, 0 };
}

void TestReading::readingText()
{
    QFETCH(Counts, counts);
    ComposeReading(*m_view, m_pictures, takeTest(counts));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());
    QCOMPARE(marked(lines), expectedReading(counts));
    // Plain text taken from the view gives the same lines.
    QCOMPARE(m_view->toPlainText().split(QLatin1Char('\n')), textLines(lines));
    QVERIFY(m_view->isReadOnly());
}

void TestReading::picturesAreTheRunes()
{
    // Also run at 200 % display scaling (the test tst_reading_200).
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(m_view->devicePixelRatio(), ratio);
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
        QCOMPARE(lines[i].pictureName, QStringLiteral("Rune stone ") + name);
        // At any scaling the picture takes 113 x 151 logical pixels; on a screen of more device
        // pixels it is the rune's drawing at twice the size.
        QCOMPARE(lines[i].pictureSize, QSizeF(113, 151));
        const QString file = QStringLiteral(CV_RESOURCES_DIR "/runes/") + name.toLower()
            + (ratio > 1 ? QStringLiteral("@2x.jpg") : QStringLiteral(".jpg"));
        QCOMPARE(lines[i].picture.convertToFormat(QImage::Format_RGB32),
            QImage(file).convertToFormat(QImage::Format_RGB32));
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
    QCOMPARE(marked(readingLines(m_view->document())), expectedReading(second));

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
    QTest::keyClick(m_view.get(), Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(m_view.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_view->textCursor().selectedText(), QStringLiteral("Root"));
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
