// How long a reading takes to write, against laying out the same text without its pictures in
// a document of the same width, the two run alternately. On the real X display, where emptying
// the clipboard is a request to the display server:
//   tests/e2e/with-xvfb.sh env QT_QPA_PLATFORM=xcb build/bench/bench_reading
#include "ComposeReading.h"
#include "ImageList.h"
#include "ReadingView.h"
#include "Style.h"
#include "TestRun.h"
#include "modVeyloom.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <vector>

using Ticks = std::array<bool, 7>;
Q_DECLARE_METATYPE(Ticks)

namespace {

// A finished test in which every ticked chakra gets `points` scoring answers.
TestRun finishedTest(const Ticks &ticked, int points)
{
    modVeyloom::LoadCatalogue();
    TestRun run;
    run.QuestionList.clear();
    for (int c = 0; c < 7; ++c) {
        if (!ticked[c])
            continue;
        for (int q = 8 * c; q < 8 * c + 8; ++q) {
            run.QuestionList.push_back(std::int16_t(q));
            run.AnswerTrail += q % 8 < points ? std::string(modVeyloom::ScoringAnswers[q]) + "/"
                                              : std::string("May Be/");
        }
    }
    run.QuestionList.resize(run.QuestionList.size() + SpareSlots, 0);
    run.CurrentQuestion = std::int16_t(AskedQuestions(run.QuestionList).size());
    return run;
}

// Lays the whole document out now rather than in idle steps.
void layOut(QTextDocument &document)
{
    document.documentLayout()->documentSize();
}

struct Fragment {
    QString text;
    QTextCharFormat format;
};
using Lines = std::vector<std::vector<Fragment>>;

// A reading's text, line by line, with its colours and weights but without its pictures.
Lines textWithoutPictures(QTextDocument &document)
{
    Lines lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        std::vector<Fragment> &line = lines.emplace_back();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isImageFormat())
                line.push_back({ it.fragment().text(), it.fragment().charFormat() });
        }
    }
    return lines;
}

// Writes the lines into the document as one edit, as a reading is written, and lays them out.
void writeText(QTextDocument &document, const Lines &lines)
{
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        for (const Fragment &fragment : lines[i])
            cursor.insertText(fragment.text, fragment.format);
    }
    cursor.endEditBlock();
    layOut(document);
}

// Puts text on the clipboard from another program, as the user may have done before a reading.
void copyElsewhere()
{
    QProcess xclip;
    xclip.start(
        QStringLiteral("xclip"), { QStringLiteral("-selection"), QStringLiteral("clipboard") });
    xclip.write("copied elsewhere");
    xclip.closeWriteChannel();
    xclip.waitForFinished();
}

template <typename Step> qint64 nanoseconds(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed();
}

qint64 median(std::vector<qint64> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

} // namespace

class BenchReading : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
};

void BenchReading::reading_data()
{
    QTest::addColumn<Ticks>("ticked");
    QTest::addColumn<int>("points");
    QTest::newRow("all seven, none open: 33 pictures")
        << Ticks { true, true, true, true, true, true, true } << 0;
    QTest::newRow("Sacral over-active: 6 pictures")
        << Ticks { false, true, false, false, false, false, false } << 8;
    QTest::newRow("Heart open: no picture")
        << Ticks { false, false, false, true, false, false, false } << 4;
}

// The reading's median time is the result; the text alone, its floor, is logged beside it.
void BenchReading::reading()
{
    QFETCH(Ticks, ticked);
    QFETCH(int, points);
    const TestRun run = finishedTest(ticked, points);
    // The view as the result screen holds it.
    ReadingView view;
    view.setFont(Style::font(Style::Font::Window));
    view.resize(Style::twipsRect(120, 360, 7245, 3375).size());
    view.show();
    ImageList pictures;
    // The first reading decodes the pictures; later ones find them decoded.
    ComposeReading(view, pictures, run);

    const Lines lines = textWithoutPictures(*view.document());
    QTextDocument floor;
    floor.setDefaultFont(view.document()->defaultFont());
    floor.setDocumentMargin(view.document()->documentMargin());
    floor.setTextWidth(view.document()->textWidth());
    writeText(floor, lines);

    constexpr int Runs = 101;
    std::vector<qint64> readingTimes;
    std::vector<qint64> floorTimes;
    // Each run starts after the events have settled, in turn reading first and text first.
    const auto timeReading = [&] {
        copyElsewhere();
        QTest::qWait(5);
        readingTimes.push_back(nanoseconds([&] {
            ComposeReading(view, pictures, run);
            layOut(*view.document());
        }));
    };
    const auto timeFloor = [&] {
        QTest::qWait(5);
        floorTimes.push_back(nanoseconds([&] { writeText(floor, lines); }));
    };
    for (int i = 0; i < Runs; ++i) {
        if (i % 2 == 0) {
            timeReading();
            timeFloor();
        } else {
            timeFloor();
            timeReading();
        }
    }
    const qint64 readingTime = median(readingTimes);
    const qint64 floorTime = median(floorTimes);
    qInfo("text alone %.3f ms; reading %.3f ms, %.2f times the text alone", floorTime / 1e6,
        readingTime / 1e6, double(readingTime) / double(floorTime));
    QTest::setBenchmarkResult(qreal(readingTime), QTest::WalltimeNanoseconds);
}

QTEST_MAIN(BenchReading)
#include "bench_reading.moc"
