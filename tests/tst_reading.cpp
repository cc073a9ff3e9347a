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
constexpr int U = -1;

TestRun takeTest(const Counts &counts)
{
    LoadCatalogue();
    FakeScreens screens;
    for (int c = 0; c < 7; ++c)
        screens.ticked[c] = counts[c] != U;
    TestRun run;
    StartTest(run, screens);
    while (screens.readings == 0) {
        const int q = run.QuestionList[run.CurrentQuestion];
        if (q % 8 < counts[q / 8])
            screens.answer = ScoringAnswers[q] == "Yes" ? Answer::Yes : Answer::No;
        else
            screens.answer = Answer::MayBe;
        NextQuestion(run, screens);
    }
    return run;
}

const QString Picture = QString(QChar::ObjectReplacementCharacter);

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The name of the committed rune picture file that holds the same image.
QString pictureFile(const QImage &picture)
{
    static const auto files = [] {
        std::vector<std::pair<QString, QImage>> list;
        const QDir folder(QStringLiteral(CV_RESOURCES_DIR "/runes"));
        for (const QFileInfo &file : folder.entryInfoList({ QStringLiteral("*.jpg") }))
            list.emplace_back(file.fileName(), rgb(QImage(file.filePath())));
        return list;
    }();
    for (const auto &[name, image] : files) {
        if (image == rgb(picture))
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
        if (line.uneven)
            text.prepend(QStringLiteral("!!"));
        texts << text;
    }
    return texts;
}

// The golden reading of all seven chakras in one state, cut at the bold headings.
std::array<QStringList, 7> goldenBlocks(const QString &state)
{
    QFile file(QStringLiteral(CV_READINGS_DIR "/all-%1.txt").arg(state.toLower()));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no golden reading %s", qPrintable(file.fileName()));
    std::array<QStringList, 7> blocks;
    int chakra = -1;
    for (const QString &line : QString::fromUtf8(file.readAll()).chopped(1).split(u'\n')) {
        chakra += line.startsWith(u"**") && line.endsWith(QStringLiteral(" is ") + state);
        if (chakra < 0 || chakra > 6)
            qFatal("%s holds more or less than seven chakras", qPrintable(file.fileName()));
        blocks[chakra] << line;
    }
    return blocks;
}

QStringList expectedReading(const Counts &counts)
{
    static const std::array<std::array<QStringList, 7>, 3> golden
        = { goldenBlocks(QStringLiteral("Underactive")), goldenBlocks(QStringLiteral("Open")),
              goldenBlocks(QStringLiteral("Overactive")) };
    QStringList lines;
    for (int c = 0; c < 7; ++c) {
        if (counts[c] != U)
            lines << golden[counts[c] <= 2 ? 0 : counts[c] <= 5 ? 1 : 2][c];
    }
    // The document always has one block after the last line break.
    return lines << QString();
}

} // namespace

Q_DECLARE_METATYPE(Counts)

class TestReading : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readingText_data();
    void readingText();
    void picturesAreTheRunes();
    void secondReadingReplacesFirst();
    void nothingPlacedOnClipboard();
    void mouseOverViewEmptiesClipboard_data();
    void mouseOverViewEmptiesClipboard();
    void pictureAtPosition_data();
    void pictureAtPosition();
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

void TestReading::readingText_data()
{
    QTest::addColumn<Counts>("counts");
    QTest::newRow("all seven under-active") << Counts { 0, 1, 2, 0, 1, 2, 0 };
    QTest::newRow("all seven open") << Counts { 3, 4, 5, 3, 4, 5, 4 };
    QTest::newRow("all seven over-active") << Counts { 6, 7, 8, 6, 7, 8, 6 };
    QTest::newRow("crown and root, root first") << Counts { 0, U, U, U, U, U, 7 };
    QTest::newRow("boundaries 2 3 5 6") << Counts { 2, U, 3, U, 5, 6, U };
}

void TestReading::readingText()
{
    QFETCH(Counts, counts);
    ComposeReading(*m_view, m_pictures, takeTest(counts));
    QCOMPARE(marked(readingLines(m_view->document())), expectedReading(counts));
    QVERIFY(m_view->isReadOnly());
}

void TestReading::picturesAreTheRunes()
{
    // Also run at 200 % display scaling (the test tst_reading_200).
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    QCOMPARE(m_view->devicePixelRatio(), ratio);
    ComposeReading(*m_view, m_pictures, takeTest({ U, U, 0, 8, U, U, U }));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());
    // Which runes: the golden files; here how each is shown at this scaling.
    int found = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].picture.isNull())
            continue;
        QCOMPARE(lines[i].text, Picture);
        const QString name
            = lines[i + 2].text.mid(QStringLiteral("Corresponding Runes Stone: ").size());
        ++found;
        QCOMPARE(lines[i].pictureName, QStringLiteral("Rune stone ") + name);
        // At any scaling 113 x 151 logical pixels; at 200 % the drawing made at twice the size.
        QCOMPARE(lines[i].pictureSize, QSizeF(113, 151));
        const QString file = QStringLiteral(CV_RESOURCES_DIR "/runes/") + name.toLower()
            + (ratio > 1 ? QStringLiteral("@2x.jpg") : QStringLiteral(".jpg"));
        QCOMPARE(rgb(lines[i].picture), rgb(QImage(file)));
    }
    QCOMPARE(found, 9);
}

void TestReading::secondReadingReplacesFirst()
{
    const Counts second = { U, U, U, 4, U, U, U };
    ComposeReading(*m_view, m_pictures, takeTest({ 0, 8, 1, 7, 2, 6, 0 }));
    ComposeReading(*m_view, m_pictures, takeTest(second));
    QCOMPARE(marked(readingLines(m_view->document())), expectedReading(second));
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
    ComposeReading(*m_view, m_pictures, takeTest({ 8, U, U, U, U, U, 0 }));
    disconnect(clipboard, nullptr, this, nullptr);
    // Emptied once, for the copied text; the six pictures never passed through it.
    QCOMPARE(formatsAtEachChange, QList<QStringList> { QStringList() });
    QVERIFY(clipboard->text().isEmpty());
}

void TestReading::mouseOverViewEmptiesClipboard_data()
{
    QTest::addColumn<QEvent::Type>("type");
    QTest::newRow("move") << QEvent::MouseMove;
    QTest::newRow("press") << QEvent::MouseButtonPress;
    QTest::newRow("release") << QEvent::MouseButtonRelease;
    QTest::newRow("double click") << QEvent::MouseButtonDblClick;
}

void TestReading::mouseOverViewEmptiesClipboard()
{
    QFETCH(QEvent::Type, type);
    ComposeReading(*m_view, m_pictures, takeTest({ 1, U, U, U, U, U, U }));
    QApplication::clipboard()->setText(QStringLiteral("selected and copied"));
    const QPointF spot(40, 40);
    QMouseEvent event(type, spot, m_view->viewport()->mapToGlobal(spot), Qt::LeftButton,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &event);
    QTRY_VERIFY(QApplication::clipboard()->text().isEmpty());
}

void TestReading::pictureAtPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("altText");
    QTest::newRow("0") << 0 << QString() << QString();
    QTest::newRow("1") << 1 << QStringLiteral("algiz.jpg") << QStringLiteral("Rune stone Algiz");
    QTest::newRow("18") << 18 << QStringLiteral("uruz.jpg") << QStringLiteral("Rune stone Uruz");
    QTest::newRow("19") << 19 << QString() << QString();
    QTest::newRow("-1") << -1 << QString() << QString();
}

void TestReading::pictureAtPosition()
{
    QFETCH(int, position);
    QFETCH(QString, file);
    QFETCH(QString, altText);
    m_view->setReadOnlyFlag(false);
    QApplication::clipboard()->setText(QStringLiteral("left over"));
    modAddPicToRTB::AddPicToRTB(*m_view, m_pictures, std::int16_t(position));
    m_view->textCursor().insertText(QStringLiteral("after"));
    const std::vector<ReadingLine> lines = readingLines(m_view->document());
    QCOMPARE(lines.size(), std::size_t(1));
    QCOMPARE(lines[0].text, (file.isEmpty() ? QString() : Picture) + QStringLiteral("after"));
    QCOMPARE(lines[0].picture.size(), file.isEmpty() ? QSize(0, 0) : QSize(113, 151));
    if (!file.isEmpty())
        QCOMPARE(pictureFile(lines[0].picture), file);
    QCOMPARE(lines[0].pictureName, altText);
    QVERIFY(QApplication::clipboard()->text().isEmpty());
}

void TestReading::userCannotEdit()
{
    ComposeReading(*m_view, m_pictures, takeTest({ 4, U, U, U, U, U, U }));
    const QString before = m_view->toPlainText();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->setFocus();
    QTest::keyClicks(m_view.get(), QStringLiteral("typed"));
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
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("content");
    QTest::newRow("text") << QStringLiteral("text/plain") << QVariant(QByteArray("pasted"));
    QTest::newRow("html") << QStringLiteral("text/html") << QVariant(QByteArray("<b>pasted</b>"));
    QTest::newRow("rune picture") << QString() << QVariant(m_pictures.picture(1));
}

void TestReading::nothingEntersFromOutside()
{
    QFETCH(QString, format);
    QFETCH(QVariant, content);
    m_view->setReadOnlyFlag(false); // writable, as while a reading is written
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    auto *copied = new QMimeData;
    QMimeData dragged;
    for (QMimeData *data : { copied, &dragged }) {
        if (format.isEmpty())
            data->setImageData(content);
        else
            data->setData(format, content.toByteArray());
    }
    QApplication::clipboard()->setMimeData(copied);
    QTest::keyClick(m_view.get(), Qt::Key_V, Qt::ControlModifier);
    QDropEvent drop(QPointF(40, 40), Qt::CopyAction, &dragged, Qt::LeftButton, {});
    QApplication::sendEvent(m_view->viewport(), &drop);
    QVERIFY(m_view->toPlainText().isEmpty());
}

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
