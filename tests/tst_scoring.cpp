#include "FakeScreens.h"
#include "Scoring.h"
#include "modVeyloom.h"

#include <QTest>

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
    void countsOnlyOwnQuestions();
    void comparisonIsExact_data();
    void comparisonIsExact();
    void incompleteInputDoesNotOverrun();
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

void TestScoring::countsOnlyOwnQuestions()
{
    // Root answered with every scoring answer, Crown with "May Be" throughout.
    const std::vector<std::int16_t> list
        = { 0, 1, 2, 3, 4, 5, 6, 7, 48, 49, 50, 51, 52, 53, 54, 55, 0, 0 };
    std::string trail = "Yes/No/Yes/No/Yes/No/No/Yes/";
    for (int i = 0; i < 8; ++i)
        trail += "May Be/";
    QCOMPARE(ScoreAnswers(list, trail), (ChakraScoreTable { 8, -1, -1, -1, -1, -1, 0, 0 }));
}

void TestScoring::comparisonIsExact_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("points");
    // Question 0 scores on "Yes".
    QTest::newRow("Yes") << QStringLiteral("Yes") << 1;
    QTest::newRow("lower case") << QStringLiteral("yes") << 0;
    QTest::newRow("padded") << QStringLiteral("Yes ") << 0;
}

void TestScoring::comparisonIsExact()
{
    QFETCH(QString, token);
    QFETCH(int, points);
    QCOMPARE(int(ScoreAnswers({ 0, 0, 0 }, token.toStdString() + "/")[0]), points);
}

void TestScoring::incompleteInputDoesNotOverrun()
{
    // An emptied list and a trail shorter than the list score without reading past either.
    QCOMPARE(ScoreAnswers({}, ""), (ChakraScoreTable { -1, -1, -1, -1, -1, -1, -1, 0 }));
    const std::vector<std::int16_t> list = { 0, 1, 2, 3, 4, 5, 6, 7, 0, 0 };
    QCOMPARE(int(ScoreAnswers(list, "Yes/No/")[0]), 2);
    QCOMPARE(int(ScoreAnswers({ 99, 0, 0 }, "Yes/")[6]), 0);
}

QTEST_GUILESS_MAIN(TestScoring)
#include "tst_scoring.moc"
