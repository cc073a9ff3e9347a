#include "TextChecks.h"
#include "modVeyloom.h"

#include <QTest>

using namespace modVeyloom;

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void emptyUntilFirstLoad();
    void scoringAnswersPerChakra_data();
    void scoringAnswersPerChakra();
    void questionSpacingKept_data();
    void questionSpacingKept();
    void chakraNames();
    void chakraParagraphs_data();
    void chakraParagraphs();
    void loadingAgainChangesNothing();
};

void TestCatalogue::emptyUntilFirstLoad()
{
    QVERIFY(QuestionTexts.front().empty());
    QVERIFY(OverActiveTexts.back().empty());
    QVERIFY(RuneMerkstaveMeanings.back().empty());
    LoadCatalogue();
    QCOMPARE(QuestionTexts.front(), "Do you have a good sense of direction?");
    QCOMPARE(RuneNames.back(), "Uruz");
    // The spare slot after the last question is never filled.
    QVERIFY(ScoringAnswers[QuestionCount].empty());
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
    LoadCatalogue();
    QStringList stored;
    for (int q = 8 * chakra; q < 8 * chakra + 8; ++q)
        stored << QString::fromUtf8(ScoringAnswers[q]);
    QCOMPARE(stored.join(u' '), answers);
}

void TestCatalogue::questionSpacingKept_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("text");
    QTest::newRow("double blank")
        << 15 << QStringLiteral("Do you feel better when you don't let go of  your emotions?");
    QTest::newRow("trailing blank 39") << 39 << QStringLiteral("Do you believe in loyalty? ");
    QTest::newRow("trailing blank 40")
        << 40 << QStringLiteral("Do you depend on others to make your decisions? ");
    QTest::newRow("quoted words") << 45 << QStringLiteral("Do you fail to see the 'big picture'?");
    QTest::newRow("typo kept") << 3
                               << QStringLiteral(
                                      "Do u feel comfortable in the presence of unknown people?");
}

void TestCatalogue::questionSpacingKept()
{
    QFETCH(int, question);
    QFETCH(QString, text);
    LoadCatalogue();
    QCOMPARE(QString::fromUtf8(QuestionTexts[question]), text);
}

void TestCatalogue::chakraNames()
{
    LoadCatalogue();
    const std::array<std::string_view, 7> expected = { "Root Chakra (Muladhara)",
        "Sacral Chakra (Swadhisthanna)", "Navel Chakra (Manipura)", "Heart Chakra (Anahata)",
        "Throat Chakra (Vishuddha)", "Third Eye Chakra (Ajna)", "Crown Chakra (Sahasrara)" };
    QCOMPARE(ChakraNames, expected);
}

// Length and CRC-16 of each paragraph's bytes: any changed letter, blank or swapped paragraph
// shows.
void TestCatalogue::chakraParagraphs_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("chakra");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("crc");
    const int rows[3][7][2] = {
        { { 105, 14948 }, { 165, 7726 }, { 84, 1832 }, { 83, 7322 }, { 94, 20330 }, { 94, 51617 },
            { 89, 37272 } },
        { { 201, 47903 }, { 174, 30781 }, { 131, 7463 }, { 124, 26085 }, { 102, 26741 },
            { 79, 3476 }, { 81, 29718 } },
        { { 175, 11369 }, { 113, 8437 }, { 117, 44584 }, { 141, 51914 }, { 105, 16711 },
            { 84, 13822 }, { 166, 25831 } },
    };
    const char *tableNames[3] = { "under-active", "open", "over-active" };
    for (int t = 0; t < 3; ++t) {
        for (int c = 0; c < 7; ++c)
            QTest::addRow("%s %d", tableNames[t], c) << t << c << rows[t][c][0] << rows[t][c][1];
    }
}

void TestCatalogue::chakraParagraphs()
{
    QFETCH(int, table);
    QFETCH(int, chakra);
    QFETCH(int, length);
    QFETCH(int, crc);
    LoadCatalogue();
    const std::array<std::string_view, ChakraCount> *tables[3]
        = { &UnderActiveTexts, &OpenStateTexts, &OverActiveTexts };
    const std::string_view text = (*tables[table])[chakra];
    QCOMPARE(codePoints(text), std::size_t(length));
    QCOMPARE(int(qChecksum(QByteArrayView(text.data(), qsizetype(text.size())))), crc);
}

void TestCatalogue::loadingAgainChangesNothing()
{
    LoadCatalogue();
    const auto questions = QuestionTexts;
    const auto answers = ScoringAnswers;
    const auto merkstave = RuneMerkstaveMeanings;
    LoadCatalogue();
    QCOMPARE(QuestionTexts, questions);
    QCOMPARE(ScoringAnswers, answers);
    QCOMPARE(RuneMerkstaveMeanings, merkstave);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
