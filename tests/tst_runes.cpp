#include "RuneCorrespondence.h"
#include "TextChecks.h"
#include "modVeyloom.h"

#include <QTest>

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
} // namespace

class TestRunes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { LoadCatalogue(); }
    void names();
    void paragraphs_data();
    void paragraphs();
    void sharedEntriesAreTheSameText();
    void groups_data();
    void groups();
    void malformedGroupText();
};

void TestRunes::names()
{
    const std::array<std::string_view, RuneCount> expected = { "Algiz", "Ansuz", "Berkano",
        "Eihwas", "Fehu", "Gebo", "Hagalaz", "Isa", "Jera", "Kenaz", "Laguz", "Mannaz", "Nauthiz",
        "Raidho", "Sowilo", "Thurisaz", "Tiwas", "Uruz" };
    QCOMPARE(RuneNames, expected);
}

// The opening words and length show which paragraph went wrong; the CRC-16 of its UTF-8 bytes
// catches any changed letter, apostrophe or line break anywhere in it.
void TestRunes::paragraphs_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("rune");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("crc");

    struct Row {
        int table;
        int rune;
        const char *opening;
        int length;
        quint16 crc;
    };
    const Row rows[] = {
        { Upright, 0, "This rune means 'defense' and 'protection'.", 299, 58756 },
        { Upright, 1, "This rune means 'god' or 'deity'.", 399, 6922 },
        { Upright, 2, "This is the 'birch' rune.", 276, 26164 },
        { Upright, 3, "This is the 'yew' rune, the wood used", 343, 2197 },
        { Upright, 4, "The meaning of the rune is 'cattle' or", 596, 64070 },
        { Upright, 5, "This is the rune of 'exchange'.", 424, 43921 },
        { Upright, 6, "This rune means 'hail' with respect to hail", 453, 49075 },
        { Upright, 7, "This is the 'ice' rune.", 441, 1438 },
        { Upright, 8, "This rune means the 'harvest'.", 315, 35114 },
        { Upright, 9, "This is the 'fire' rune.", 347, 65021 },
        { Upright, 10, "This is the rune of 'intuitive knowledge' or", 451, 30074 },
        { Upright, 11, "This is the 'man' rune, as an individual", 306, 64997 },
        { Upright, 12, "This is the 'need' rune.", 280, 29214 },
        { Upright, 13, "This rune represents the 'wheel of life'.", 419, 16197 },
        { Upright, 14, "This is the 'sun' rune which indicates victory.", 268, 15845 },
        { Upright, 15, "This is also known as the troll or", 662, 8299 },
        { Upright, 16, "This is the rune of the 'warrior'.", 325, 3760 },
        { Upright, 17, "The rune represents 'aurochs' or wild bison", 491, 42384 },
        { Reversed, 0, "This indicates vulnerability.", 81, 50172 },
        { Reversed, 1, "You may be under the influence of malicious", 330, 56949 },
        { Reversed, 2, "There may be some family problems", 216, 26036 },
        { Reversed, 3, "This may be a bad time for you.", 180, 34986 },
        { Reversed, 4, "When reversed it means stagnation, infertility", 180, 32848 },
        { Reversed, 9, "It may lead to isolation or information", 228, 7808 },
        { Reversed, 10, "This is a period of stagnation.", 288, 12397 },
        { Reversed, 11, "Non one can help you.", 173, 58891 },
        { Reversed, 12, "You may be on the wrong track.", 165, 49394 },
        { Reversed, 13, "There may be a delay in your physical", 265, 33617 },
        { Reversed, 15, "When reversed it shows end of good times", 194, 53958 },
        { Reversed, 16, "Your energy and creative flow may be blocked.", 267, 39001 },
        { Reversed, 17, "When reversed it indicates ill health.", 280, 2002 },
        { Merkstave, 4, "When merkstaved it means stagnation, infertility", 182, 42845 },
        { Merkstave, 5, "There may be some loneliness in your life.", 128, 35905 },
        { Merkstave, 6, "There may be a natural disaster or catastrophe.", 104, 38370 },
        { Merkstave, 7, "There may be some dullness in your life.", 81, 42501 },
        { Merkstave, 8, "There may be sudden set backs.", 84, 43436 },
        { Merkstave, 14, "You may face the wrath of God.", 104, 22533 },
    };
    const char *tableNames[] = { "upright", "reversed", "merkstave" };
    for (const Row &row : rows)
        QTest::addRow("%s %d", tableNames[row.table], row.rune)
            << row.table << row.rune << QString::fromUtf8(row.opening) << row.length
            << int(row.crc);
}

void TestRunes::paragraphs()
{
    QFETCH(int, table);
    QFETCH(int, rune);
    QFETCH(QString, opening);
    QFETCH(int, length);
    QFETCH(int, crc);
    const std::string_view text = ::table(table)[rune];
    QVERIFY2(QString::fromUtf8(text).startsWith(opening), std::string(text).c_str());
    QCOMPARE(codePoints(text), std::size_t(length));
    QCOMPARE(int(qChecksum(QByteArrayView(text.data(), qsizetype(text.size())))), crc);
}

void TestRunes::sharedEntriesAreTheSameText()
{
    // Shared, not copied: both entries point at one text.
    for (int rune : { 5, 6, 7, 8, 14 })
        QCOMPARE(RuneReversedMeanings[rune].data(), RuneMeanings[rune].data());
    for (int rune : { 0, 1, 2, 3, 9, 10, 11, 12, 13, 15, 16, 17 })
        QCOMPARE(RuneMerkstaveMeanings[rune].data(), RuneReversedMeanings[rune].data());
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

void TestRunes::malformedGroupText()
{
    // The last piece is left out by position, whatever it holds; unreadable pieces are skipped.
    RuneGroupTable groups {};
    groups[0] = "3/x/5/9";
    QCOMPARE(RunesFor(0, groups), (std::vector<int> { 3, 5 }));
}

QTEST_GUILESS_MAIN(TestRunes)
#include "tst_runes.moc"
