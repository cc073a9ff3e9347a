#include "FakeScreens.h"
#include "Scoring.h"
#include "modVeyloom.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Ticks = std::array<bool, 7>;

Q_DECLARE_METATYPE(ChakraScoreTable)
Q_DECLARE_METATYPE(ChakraState)
Q_DECLARE_METATYPE(Ticks)

class TestScoring : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { modVeyloom::LoadCatalogue(); }
    void uniformAnswers_data();
    void uniformAnswers();
    void rateScore_data();
    void rateScore();
    void scoreAnswers_data();
    void scoreAnswers();
};

void TestScoring::uniformAnswers_data()
{
    QTest::addColumn<Ticks>("ticked");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<ChakraScoreTable>("expected");
    const Ticks allSeven = { true, true, true, true, true, true, true };
    QTest::newRow("all yes") << allSeven << Answer::Yes
                             << ChakraScoreTable { 4, 4, 5, 4, 4, 4, 4, 0 };
    QTest::newRow("all no") << allSeven << Answer::No
                            << ChakraScoreTable { 4, 4, 3, 4, 4, 4, 4, 0 };
    QTest::newRow("all may be") << allSeven << Answer::MayBe
                                << ChakraScoreTable { 0, 0, 0, 0, 0, 0, 0, 0 };
    QTest::newRow("navel and crown, no") << Ticks { false, false, true, false, false, false,
        true } << Answer::No << ChakraScoreTable { -1, -1, 3, -1, -1, -1, 4, 0 };
}

void TestScoring::uniformAnswers()
{
    QFETCH(Ticks, ticked);
    QFETCH(Answer, answer);
    QFETCH(ChakraScoreTable, expected);
    FakeScreens screens;
    screens.ticked = ticked;
    TestRun run;
    StartTest(run, screens);
    screens.answerAll(run, { answer });
    QCOMPARE(ScoreAnswers(run.QuestionList, run.AnswerTrail), expected);
}

void TestScoring::rateScore_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<ChakraState>("state");
    const ChakraState under = ChakraState::UnderActive, open = ChakraState::Open,
                      over = ChakraState::OverActive;
    const ChakraState expected[9] = { under, under, under, open, open, open, over, over, over };
    for (int count = 0; count <= 8; ++count)
        QTest::addRow("%d", count) << count << expected[count];
}

void TestScoring::rateScore()
{
    QFETCH(int, count);
    QFETCH(ChakraState, state);
    QCOMPARE(RateScore(count), state);
}

void TestScoring::scoreAnswers_data()
{
    QTest::addColumn<QList<int>>("questions");
    QTest::addColumn<QString>("trail");
    QTest::addColumn<ChakraScoreTable>("expected");
    // Root's questions score on "Yes/No/Yes/No/Yes/No/No/Yes".
    QTest::newRow("Root all scoring, Crown all May Be")
        << QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 48, 49, 50, 51, 52, 53, 54, 55, 0, 0 }
        << u"Yes/No/Yes/No/Yes/No/No/Yes/"_s + u"May Be/"_s.repeated(8)
        << ChakraScoreTable { 8, -1, -1, -1, -1, -1, 0, 0 };
    QTest::newRow("exact tokens only")
        << QList<int> { 0, 0, 0, 0, 0, 0 } << u"yes/Yes /Yes/May Be/"_s
        << ChakraScoreTable { 1, -1, -1, -1, -1, -1, -1, 0 };
    // Incomplete input scores without reading past the list or the trail.
    QTest::newRow("emptied list") << QList<int> {} << QString()
                                  << ChakraScoreTable { -1, -1, -1, -1, -1, -1, -1, 0 };
    QTest::newRow("short trail") << QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 0, 0 } << u"Yes/No/"_s
                                 << ChakraScoreTable { 2, -1, -1, -1, -1, -1, -1, 0 };
    QTest::newRow("question past the last") << QList<int> { 99, 0, 0 } << u"Yes/"_s
                                            << ChakraScoreTable { -1, -1, -1, -1, -1, -1, 0, 0 };
}

void TestScoring::scoreAnswers()
{
    QFETCH(QList<int>, questions);
    QFETCH(QString, trail);
    QFETCH(ChakraScoreTable, expected);
    const std::vector<std::int16_t> list(questions.begin(), questions.end());
    QCOMPARE(ScoreAnswers(list, trail.toStdString()), expected);
}

QTEST_GUILESS_MAIN(TestScoring)
#include "tst_scoring.moc"
