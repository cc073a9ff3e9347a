#include "ComposeReading.h"
#include "FakeScreens.h"
#include "ImageList.h"
#include "ReadingView.h"
#include "modAddPicToRTB.h"
#include "modVeyloom.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>

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

// Tests run at the scaling QT_SCALE_FACTOR asks for (tst_reading_200 runs at 200 %).
const qreal Scaling = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The committed rune picture file the fragment shows, "<rune>.jpg". At 200 % the view must show
// the drawing made at twice the size; at any scaling 113 x 151 logical pixels, named after its
// rune for screen readers. Anything else is added to the name, so no golden line matches.
QString pictureFile(QTextDocument *document, const QTextFragment &fragment)
{
    static const auto runes = [] {
        std::vector<std::pair<QString, QImage>> list;
        const QDir folder(QStringLiteral(CV_RESOURCES_DIR "/runes"));
        for (const QString &file : folder.entryList({ QStringLiteral("*.jpg") })) {
            const QString rune = file.chopped(4);
            if (!rune.contains(u'@'))
                list.emplace_back(rune,
                    rgb(QImage(folder.filePath(rune
                        + (Scaling > 1 ? QStringLiteral("@2x.jpg") : QStringLiteral(".jpg"))))));
        }
        return list;
    }();
    const QTextImageFormat format = fragment.charFormat().toImageFormat();
    const QImage picture = rgb(qvariant_cast<QImage>(
        document->resource(QTextDocument::ImageResource, QUrl(format.name()))));
    QString rune = QStringLiteral("unknown");
    for (const auto &[name, image] : runes) {
        if (image == picture)
            rune = name;
    }
    const QString altText = format.stringProperty(QTextFormat::ImageAltText);
    const QSizeF size = document->documentLayout()
                            ->handlerForObject(QTextFormat::ImageObject)
                            ->intrinsicSize(document, fragment.position(), format);
    if (size != QSizeF(113, 151)
        || altText != rune[0].toUpper() + rune.mid(1) + QStringLiteral(" rune stone"))
        return QStringLiteral("%1.jpg %2 x %3 named %4")
            .arg(rune)
            .arg(size.width())
            .arg(size.height())
            .arg(altText);
    return rune + QStringLiteral(".jpg");
}

// The reading as the golden files write it: "**" starts a bold line and "[picture <file>]"
// stands for a picture. A line not all in dark green, or bold only in part, starts with "!!",
// which no golden line does.
QStringList marked(QTextDocument *document)
{
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QString text;
        bool allBold = true, anyBold = false, uneven = false, picture = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                text += QStringLiteral("[picture %1]").arg(pictureFile(document, it.fragment()));
                picture = true;
                continue;
            }
            text += it.fragment().text();
            const bool bold = format.fontWeight() == QFont::Bold;
            allBold = allBold && bold;
            anyBold = anyBold || bold;
            uneven = uneven || format.foreground().color() != QColor(0, 128, 0);
        }
        if (anyBold && allBold && !picture)
            text.prepend(QStringLiteral("**"));
        else
            uneven = uneven || anyBold;
        lines << (uneven ? QStringLiteral("!!") : QString()) + text;
    }
    return lines;
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
    // A new reading replaces the one before it.
    ComposeReading(*m_view, m_pictures, takeTest({ U, 8, U, 4, U, U, 0 }));
    ComposeReading(*m_view, m_pictures, takeTest(counts));
    QCOMPARE(marked(m_view->document()), expectedReading(counts));
    QVERIFY(m_view->isReadOnly());
}

void TestReading::picturesAreTheRunes()
{
    QCOMPARE(m_view->devicePixelRatio(), Scaling);
    ComposeReading(*m_view, m_pictures, takeTest({ U, U, 0, 8, U, U, U }));
    QCOMPARE(marked(m_view->document()), expectedReading({ U, U, 0, 8, U, U, U }));
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
    QTest::addColumn<QString>("line");
    QTest::newRow("0") << 0 << QStringLiteral("after");
    QTest::newRow("1") << 1 << QStringLiteral("[picture algiz.jpg]after");
    QTest::newRow("18") << 18 << QStringLiteral("[picture uruz.jpg]after");
    QTest::newRow("19") << 19 << QStringLiteral("after");
    QTest::newRow("-1") << -1 << QStringLiteral("after");
}

void TestReading::pictureAtPosition()
{
    QFETCH(int, position);
    QFETCH(QString, line);
    m_view->setReadOnlyFlag(false);
    QApplication::clipboard()->setText(QStringLiteral("left over"));
    modAddPicToRTB::AddPicToRTB(*m_view, m_pictures, std::int16_t(position));
    QTextCharFormat readingText;
    readingText.setForeground(QColor(0, 128, 0));
    m_view->textCursor().insertText(QStringLiteral("after"), readingText);
    QCOMPARE(marked(m_view->document()), QStringList { line });
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
