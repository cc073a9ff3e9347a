#include "RuneCorrespondence.h"
#include "TextChecks.h"
#include "modVeyloom.h"

#include <QTest>

#include <set>

using namespace modVeyloom;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {
enum Table { Upright, Reversed, Merkstave };

const std::array<std::string_view, RuneCount> &table(int t)
{
    return t == Upright ? RuneMeanings
        : t == Reversed ? RuneReversedMeanings
                        : RuneMerkstaveMeanings;
}

constexpr char32_t typographicApostrophe = U'\u2019';
} // namespace

class TestRunes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { LoadCatalogue(); }
    void namesInAlphabeticalOrder();
    void paragraphs_data();
    void paragraphs();
    void sharedEntriesAreTheSameText_data();
    void sharedEntriesAreTheSameText();
    void fehuMerkstaveFollowsReversed();
    void distinctParagraphs();
    void groups_data();
    void groups();
    void distinctGroupsHoldEveryRuneOnce();
    void malformedGroupText();
};

void TestRunes::namesInAlphabeticalOrder()
{
    const std::array<std::string_view, RuneCount> expected = {
        "Algiz",
        "Ansuz",
        "Berkano",
        "Eihwas",
        "Fehu",
        "Gebo",
        "Hagalaz",
        "Isa",
        "Jera",
        "Kenaz",
        "Laguz",
        "Mannaz",
        "Nauthiz",
        "Raidho",
        "Sowilo",
        "Thurisaz",
        "Tiwas",
        "Uruz",
    };
    QCOMPARE(RuneNames, expected);
    QVERIFY(std::is_sorted(RuneNames.begin(), RuneNames.end()));
}

void TestRunes::paragraphs_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("rune");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("typographicApostrophes");

    struct Row {
        int rune;
        const char *opening;
        int length;
    };
    const Row upright[] = {
        { 0, "This rune means 'defense' and 'protection'. This is", 299 },
        { 1, "This rune means 'god' or 'deity'. It shows", 399 },
        { 2, "This is the 'birch' rune. It signifies growth", 276 },
        { 3, "This is the 'yew' rune, the wood used", 343 },
        { 4, "The meaning of the rune is 'cattle' or", 596 },
        { 5, "This is the rune of 'exchange'. This is", 424 },
        { 6, "This rune means 'hail' with respect to hail", 453 },
        { 7, "This is the 'ice' rune. It means that", 441 },
        { 8, "This rune means the 'harvest'. In other words", 315 },
        { 9, "This is the 'fire' rune. This rune means", 347 },
        { 10, "This is the rune of 'intuitive knowledge' or", 451 },
        { 11, "This is the 'man' rune, as an individual", 306 },
        { 12, "This is the 'need' rune. It also is", 280 },
        { 13, "This rune represents the 'wheel of life'. It", 419 },
        { 14, "This is the 'sun' rune which indicates victory.", 268 },
        { 15, "This is also known as the troll or", 662 },
        { 16, "This is the rune of the 'warrior'. The", 325 },
        { 17, "The rune represents 'aurochs' or wild bison like", 491 },
    };
    const Row reversed[] = {
        { 0, "This indicates vulnerability. Watch for hidden traps and", 81 },
        { 1, "You may be under the influence of malicious", 330 },
        { 2, "There may be some family problems or troubles", 216 },
        { 3, "This may be a bad time for you.", 180 },
        { 4, "When reversed it means stagnation, infertility and loss", 180 },
        { 9, "It may lead to isolation or information being", 228 },
        { 10, "This is a period of stagnation. Also you", 288 },
        { 11, "Non one can help you. You are on", 173 },
        { 12, "You may be on the wrong track. If", 165 },
        { 13, "There may be a delay in your physical", 265 },
        { 15, "When reversed it shows end of good times", 194 },
        { 16, "Your energy and creative flow may be blocked.", 267 },
        { 17, "When reversed it indicates ill health. With a", 280 },
    };
    const Row merkstave[] = {
        { 4, "When merkstaved it means stagnation, infertility and loss", 182 },
        { 5, "There may be some loneliness in your life.", 128 },
        { 6, "There may be a natural disaster or catastrophe.", 104 },
        { 7, "There may be some dullness in your life.", 81 },
        { 8, "There may be sudden set backs. This may", 84 },
        { 14, "You may face the wrath of God.", 104 },
    };
    const std::set<std::pair<int, int>> withApostrophe = { { Upright, 10 }, { Upright, 12 },
        { Upright, 16 }, { Reversed, 10 }, { Merkstave, 10 } };

    auto add = [&](int t, const char *name, const Row &row) {
        QTest::addRow("%s %s", name, std::string(RuneNames[row.rune]).c_str())
            << t << row.rune << QString::fromUtf8(row.opening) << row.length
            << int(withApostrophe.count({ t, row.rune }));
    };
    for (const Row &row : upright)
        add(Upright, "upright", row);
    for (const Row &row : reversed)
        add(Reversed, "reversed", row);
    for (const Row &row : merkstave)
        add(Merkstave, "merkstave", row);
}

void TestRunes::paragraphs()
{
    QFETCH(int, table);
    QFETCH(int, rune);
    QFETCH(QString, opening);
    QFETCH(int, length);
    QFETCH(int, typographicApostrophes);
    const std::string_view text = ::table(table)[rune];
    const QString decoded = QString::fromUtf8(text);
    QVERIFY2(decoded.startsWith(opening), qPrintable(decoded));
    QCOMPARE(codePoints(text), std::size_t(length));
    QCOMPARE(int(decoded.count(QChar(typographicApostrophe))), typographicApostrophes);
    QVERIFY(!decoded.contains(QLatin1Char('\n')) && !decoded.contains(QLatin1Char('\r')));
    // Every character outside ASCII is the one apostrophe.
    for (QChar c : decoded)
        QVERIFY(c.unicode() < 0x80 || c.unicode() == typographicApostrophe);
}

void TestRunes::sharedEntriesAreTheSameText_data()
{
    QTest::addColumn<int>("rune");
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("sameAs");
    for (int rune : { 5, 6, 7, 8, 14 })
        QTest::addRow("%s reversed", RuneNames[rune].data())
            << rune << int(Reversed) << int(Upright);
    for (int rune : { 0, 1, 2, 3, 9, 10, 11, 12, 13, 15, 16, 17 })
        QTest::addRow("%s merkstave", RuneNames[rune].data())
            << rune << int(Merkstave) << int(Reversed);
}

void TestRunes::sharedEntriesAreTheSameText()
{
    QFETCH(int, rune);
    QFETCH(int, table);
    QFETCH(int, sameAs);
    // Shared, not copied: both entries point at one text.
    QCOMPARE(::table(table)[rune].data(), ::table(sameAs)[rune].data());
    QCOMPARE(::table(table)[rune].size(), ::table(sameAs)[rune].size());
}

void TestRunes::fehuMerkstaveFollowsReversed()
{
    const std::string_view reversed = RuneReversedMeanings[4];
    const std::string_view merkstave = RuneMerkstaveMeanings[4];
    QVERIFY(reversed.starts_with("When reversed"));
    QCOMPARE(std::string(merkstave),
        "When merkstaved" + std::string(reversed.substr(std::string_view("When reversed").size())));
}

void TestRunes::distinctParagraphs()
{
    std::set<std::string_view> upright(RuneMeanings.begin(), RuneMeanings.end());
    std::set<std::string_view> reversed;
    std::set<std::string_view> merkstave;
    for (int r = 0; r < RuneCount; ++r) {
        if (RuneReversedMeanings[r] != RuneMeanings[r])
            reversed.insert(RuneReversedMeanings[r]);
        if (RuneMerkstaveMeanings[r] != RuneReversedMeanings[r])
            merkstave.insert(RuneMerkstaveMeanings[r]);
    }
    QCOMPARE(upright.size(), std::size_t(18));
    QCOMPARE(reversed.size(), std::size_t(13));
    QCOMPARE(merkstave.size(), std::size_t(6));
}

void TestRunes::groups_data()
{
    QTest::addColumn<int>("chakra");
    QTest::addColumn<std::vector<int>>("runes");
    const std::vector<int> rootCrown = { 0, 11, 6 };
    const std::vector<int> sacralThroat = { 15, 14, 8, 9, 4, 2 };
    const std::vector<int> navelThirdEye = { 17, 12, 7, 10, 5, 1 };
    QTest::newRow("Root") << 0 << rootCrown;
    QTest::newRow("Sacral") << 1 << sacralThroat;
    QTest::newRow("Navel") << 2 << navelThirdEye;
    QTest::newRow("Heart") << 3 << std::vector<int> { 13, 16, 3 };
    QTest::newRow("Throat") << 4 << sacralThroat;
    QTest::newRow("Third Eye") << 5 << navelThirdEye;
    QTest::newRow("Crown") << 6 << rootCrown;
    QTest::newRow("spare slot") << 7 << std::vector<int> {};
    QTest::newRow("out of range") << 8 << std::vector<int> {};
}

void TestRunes::groups()
{
    QFETCH(int, chakra);
    QFETCH(std::vector<int>, runes);
    QCOMPARE(RunesFor(chakra), runes);
}

void TestRunes::distinctGroupsHoldEveryRuneOnce()
{
    std::vector<int> all;
    for (int chakra : { 0, 1, 2, 3 }) {
        const std::vector<int> runes = RunesFor(chakra);
        all.insert(all.end(), runes.begin(), runes.end());
    }
    std::sort(all.begin(), all.end());
    std::vector<int> expected(RuneCount);
    std::iota(expected.begin(), expected.end(), 0);
    QCOMPARE(all, expected);
}

void TestRunes::malformedGroupText()
{
    // The last piece is left out by position, whatever it holds; unreadable pieces are skipped.
    RuneGroupTable groups {};
    groups[0] = "3/x/5/9";
    QCOMPARE(RunesFor(0, groups), (std::vector<int> { 3, 5 }));
}

QTEST_GUILESS_MAIN(TestRunes)
#include "tst_runes.moc"
