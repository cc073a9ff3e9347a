// How long a reading takes to write, on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/bench/bench_reading -median 9
#include "ComposeReading.h"
#include "ImageList.h"
#include "ReadingView.h"
#include "TestRun.h"
#include "modVeyloom.h"

#include <QApplication>
#include <QTest>

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

} // namespace

class BenchReading : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void emptyClipboard();
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

void BenchReading::reading()
{
    QFETCH(Ticks, ticked);
    QFETCH(int, points);
    const TestRun run = finishedTest(ticked, points);
    ReadingView view;
    view.resize(483, 225);
    view.show();
    ImageList pictures;
    // The first reading decodes the pictures; later ones find them decoded.
    ComposeReading(view, pictures, run);
    QBENCHMARK
    {
        ComposeReading(view, pictures, run);
    }
}

void BenchReading::emptyClipboard()
{
    // A reading of 33 pictures empties the clipboard about 700 times.
    QBENCHMARK
    {
        EmptyClipboard();
    }
}

QTEST_MAIN(BenchReading)
#include "bench_reading.moc"
