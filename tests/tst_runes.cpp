#include "RuneCorrespondence.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<int>)

// Each chakra's runes, their names and their three paragraphs are checked through the golden
// readings (tst_reading); here what no reading shows: slots without a group and unreadable text.
class TestRunes : public QObject
{
    Q_OBJECT

private slots:
    void groupsWithoutRunes_data();
    void groupsWithoutRunes();
};

void TestRunes::groupsWithoutRunes_data()
{
    QTest::addColumn<int>("chakra");
    QTest::addColumn<QByteArray>("group"); // none: the program's own groups
    QTest::addColumn<std::vector<int>>("runes");
    QTest::newRow("spare slot") << 7 << QByteArray() << std::vector<int> {};
    QTest::newRow("out of range") << 8 << QByteArray() << std::vector<int> {};
    QTest::newRow("negative") << -1 << QByteArray() << std::vector<int> {};
    // The last piece is left out by position, whatever it holds; unreadable pieces are skipped.
    QTest::newRow("malformed") << 0 << QByteArray("3/x/5/9") << std::vector<int> { 3, 5 };
}

void TestRunes::groupsWithoutRunes()
{
    QFETCH(int, chakra);
    QFETCH(QByteArray, group);
    QFETCH(std::vector<int>, runes);
    RuneGroupTable groups = RuneGroupTexts;
    if (!group.isNull())
        groups[chakra] = std::string_view(group.constData(), group.size());
    QCOMPARE(RunesFor(chakra, groups), runes);
}

QTEST_GUILESS_MAIN(TestRunes)
#include "tst_runes.moc"
