#include "TextChecks.h"
#include "modVeyloom.h"

#include <QTest>

using namespace modVeyloom;

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void emptyUntilFirstLoad();
    void questionsBelongToTheirChakra();
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
    for (std::string_view text : QuestionTexts)
        QVERIFY(text.empty());
    for (std::string_view text : OverActiveTexts)
        QVERIFY(text.empty());
    for (std::string_view text : RuneMerkstaveMeanings)
        QVERIFY(text.empty());
    LoadCatalogue();
    QCOMPARE(QuestionTexts.front(), "Do you have a good sense of direction?");
    QCOMPARE(RuneNames.back(), "Uruz");
}

void TestCatalogue::questionsBelongToTheirChakra()
{
    LoadCatalogue();
    QCOMPARE(QuestionTexts.size(), std::size_t(56));
    for (std::string_view text : QuestionTexts) {
        QVERIFY2(text.size() >= 27 && text.size() <= 85, std::string(text).c_str());
        QVERIFY(text.find_first_of("\r\n") == std::string_view::npos);
        QVERIFY(isAscii(text));
    }
    QCOMPARE(QuestionTexts[35].size(), std::size_t(85));
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
    QTest::newRow("double blank") << 15
                                  << QStringLiteral("Do you feel better when you don't let go of  "
                                                    "your emotions?");
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
    const std::array<std::string_view, 7> expected = {
        "Root Chakra (Muladhara)",
        "Sacral Chakra (Swadhisthanna)",
        "Navel Chakra (Manipura)",
        "Heart Chakra (Anahata)",
        "Throat Chakra (Vishuddha)",
        "Third Eye Chakra (Ajna)",
        "Crown Chakra (Sahasrara)",
    };
    QCOMPARE(ChakraNames, expected);
    for (std::string_view name : ChakraNames)
        QVERIFY(name.size() >= 22 && name.size() <= 29);
}

void TestCatalogue::chakraParagraphs_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("chakra");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<int>("length");

    struct Row {
        const char *opening;
        int length;
    };
    const Row rows[3][7] = {
        { { "Fear, nervousness, inferiority and shyness are the consequences", 105 },
            { "In under-active state of this chakra makes you", 165 },
            { "The under-active makes you inactive and hesitant. Some", 84 },
            { "In an under-active state you are reserved and", 83 },
            { "When this chakra is under-active you may be", 94 },
            { "You get confused and are dependent on others", 94 },
            { "Under-active state builds stubborn thinking in you and", 89 } },
        { { "If this root energy is open you will", 201 },
            { "In open state this very center, maintains the", 174 },
            { "Open state of this chakra shows a balanced", 131 },
            { "In an open state of this chakra you", 124 },
            { "In open you are bold enough to express", 102 },
            { "When it is open you will have a", 79 },
            { "Open state makes you neutral and quite conscious", 81 } },
        { { "In the over-active state you become greedy and", 175 },
            { "In case of over-active state you get emotionally", 113 },
            { "Over-active state of this chakra makes you want", 117 },
            { "In an over-active state you are highly emotional,", 141 },
            { "In an over-active state you tend to speak", 105 },
            { "In over-active state you may tend to wander", 84 },
            { "Over-active state makes you overconfident and proud of", 166 } },
    };
    const char *tableNames[3] = { "under-active", "open", "over-active" };
    for (int t = 0; t < 3; ++t) {
        for (int c = 0; c < ChakraCount; ++c) {
            QTest::addRow("%s %d", tableNames[t], c)
                << t << c << QString::fromUtf8(rows[t][c].opening) << rows[t][c].length;
        }
    }
}

void TestCatalogue::chakraParagraphs()
{
    QFETCH(int, table);
    QFETCH(int, chakra);
    QFETCH(QString, opening);
    QFETCH(int, length);
    LoadCatalogue();
    const std::array<std::string_view, ChakraCount> *tables[3]
        = { &UnderActiveTexts, &OpenStateTexts, &OverActiveTexts };
    const std::string_view text = (*tables[table])[chakra];
    QVERIFY2(QString::fromUtf8(text).startsWith(opening), std::string(text).c_str());
    QCOMPARE(codePoints(text), std::size_t(length));
    QVERIFY(isAscii(text));
    QVERIFY(text.find_first_of("\r\n") == std::string_view::npos);
    QVERIFY(text.find("TODO") == std::string_view::npos);
    QVERIFY(text.back() != ' ');
}

void TestCatalogue::loadingAgainChangesNothing()
{
    LoadCatalogue();
    const auto questions = QuestionTexts;
    const auto answers = ScoringAnswers;
    const auto open = OpenStateTexts;
    const auto merkstave = RuneMerkstaveMeanings;
    LoadCatalogue();
    LoadCatalogue();
    QCOMPARE(QuestionTexts, questions);
    QCOMPARE(ScoringAnswers, answers);
    QCOMPARE(OpenStateTexts, open);
    QCOMPARE(RuneMerkstaveMeanings, merkstave);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
