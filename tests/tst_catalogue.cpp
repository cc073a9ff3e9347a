#include "modVeyloom.h"

#include <QTest>

using namespace modVeyloom;

// The chakra and rune texts are checked word for word through the golden readings
// (tst_reading); here what no reading shows: the questions and the answer each one scores on.
class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadingAgainChangesNothing();
    void scoringAnswersPerChakra_data();
    void scoringAnswersPerChakra();
    void questionSpacingKept_data();
    void questionSpacingKept();
};

void TestCatalogue::initTestCase()
{
    QVERIFY(QuestionTexts.front().empty());
    QVERIFY(OverActiveTexts.back().empty());
    QVERIFY(RuneMerkstaveMeanings.back().empty());
    LoadCatalogue();
    // The spare slot after the last question is never filled.
    QVERIFY(ScoringAnswers[QuestionCount].empty());
}

void TestCatalogue::loadingAgainChangesNothing()
{
    const auto questions = QuestionTexts;
    const auto answers = ScoringAnswers;
    const auto merkstave = RuneMerkstaveMeanings;
    LoadCatalogue();
    QCOMPARE(QuestionTexts, questions);
    QCOMPARE(ScoringAnswers, answers);
    QCOMPARE(RuneMerkstaveMeanings, merkstave);
}

void TestCatalogue::scoringAnswersPerChakra_data()
{
    QTest::addColumn<int>("chakra");
    QTest::addColumn<QString>("answers");
    QTest::newRow("Root") << 0 << QStringLiteral("Yes No Yes No Yes No No Yes");
    QTest::newRow("Sacral") << 1 << QStringLiteral("No Yes Yes No No Yes Yes No");
    QTest::newRow("Navel") << 2 << QStringLiteral("Yes No Yes Yes Yes No No Yes");
    QTest::newRow("Heart") << 3 << QStringLiteral("Yes No No Yes Yes No No Yes");
    QTest::newRow("Throat") << 4 << QStringLiteral("Yes No No Yes Yes No No Yes");
    QTest::newRow("Third Eye") << 5 << QStringLiteral("No Yes Yes No Yes No Yes No");
    QTest::newRow("Crown") << 6 << QStringLiteral("Yes No No Yes No Yes Yes No");
}

void TestCatalogue::scoringAnswersPerChakra()
{
    QFETCH(int, chakra);
    QFETCH(QString, answers);
    QStringList stored;
    for (int q = 8 * chakra; q < 8 * chakra + 8; ++q)
        stored << QString::fromUtf8(ScoringAnswers[q]);
    QCOMPARE(stored.join(u' '), answers);
}

void TestCatalogue::questionSpacingKept_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("text");
    QTest::newRow("first") << 0 << QStringLiteral("Do you have a good sense of direction?");
    QTest::newRow("typo kept") << 3
                               << QStringLiteral(
                                      "Do u feel comfortable in the presence of unknown people?");
    QTest::newRow("double blank")
        << 15 << QStringLiteral("Do you feel better when you don't let go of  your emotions?");
    QTest::newRow("trailing blank 39") << 39 << QStringLiteral("Do you believe in loyalty? ");
    QTest::newRow("trailing blank 40")
        << 40 << QStringLiteral("Do you depend on others to make your decisions? ");
    QTest::newRow("quoted words") << 45 << QStringLiteral("Do you fail to see the 'big picture'?");
}

void TestCatalogue::questionSpacingKept()
{
    QFETCH(int, question);
    QFETCH(QString, text);
    QCOMPARE(QString::fromUtf8(QuestionTexts[question]), text);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
