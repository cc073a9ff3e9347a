#include "FakeScreens.h"
#include "modVeyloom.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<int>)

namespace {
std::vector<int> questionsOf(std::initializer_list<int> chakras)
{
    std::vector<int> questions;
    for (int c : chakras) {
        for (int q = 8 * c; q < 8 * c + 8; ++q)
            questions.push_back(q);
    }
    return questions;
}
} // namespace

class TestTestRun : public QObject
{
    Q_OBJECT

private slots:
    void questionOrder_data();
    void questionOrder();
    void refusesWithNothingTicked();
    void returnToMainAndTestAgain();
    void nameCheck_data();
    void nameCheck();
};

void TestTestRun::questionOrder_data()
{
    QTest::addColumn<std::vector<int>>("ticked");
    QTest::addColumn<std::vector<int>>("questions");
    QTest::newRow("crown only") << std::vector<int> { 6 } << questionsOf({ 6 });
    QTest::newRow("heart ticked before root") << std::vector<int> { 3, 0 } << questionsOf({ 0, 3 });
    QTest::newRow("all seven") << std::vector<int> { 6, 5, 4, 3, 2, 1, 0 }
                               << questionsOf({ 0, 1, 2, 3, 4, 5, 6 });
}

void TestTestRun::questionOrder()
{
    QFETCH(std::vector<int>, ticked);
    QFETCH(std::vector<int>, questions);
    FakeScreens screens;
    for (int c : ticked)
        screens.ticked[c] = true;
    TestRun run;
    StartTest(run, screens);

    QCOMPARE(run.QuestionList.size(), questions.size() + 2);
    QCOMPARE(screens.front, Screen::Question);
    const int total = int(questions.size());
    for (int n = 1; n <= total; ++n) {
        QCOMPARE(int(run.QuestionList[n - 1]), questions[n - 1]);
        QCOMPARE(screens.counter, "Question " + std::to_string(n) + " of " + std::to_string(total));
        QCOMPARE(screens.question, modVeyloom::QuestionTexts[questions[n - 1]]);
        QCOMPARE(screens.readings, 0);
        NextQuestion(run, screens);
    }
    QCOMPARE(screens.readings, 1);
    QCOMPARE(run.CurrentQuestion, total);
}

void TestTestRun::refusesWithNothingTicked()
{
    FakeScreens screens;
    TestRun run;
    run.CurrentQuestion = 5;
    StartTest(run, screens);

    // The screen in front and the question list are checked by tst_mainwindow.
    QCOMPARE(screens.errors, std::vector<std::string> { "You have to select at least One option" });
    QCOMPARE(run.CurrentQuestion, 5);
    QCOMPARE(screens.counter, "Question No");
}

// Each question starting on "Yes" and what going back clears are checked by tst_mainwindow;
// here a second test starts afresh.
void TestTestRun::returnToMainAndTestAgain()
{
    FakeScreens screens;
    screens.ticked = { true, false, true, false, false, false, true };
    TestRun run;
    StartTest(run, screens);
    screens.answerAll(run, { Answer::No, Answer::MayBe, Answer::Yes });
    QCOMPARE(QString::fromStdString(run.AnswerTrail), QStringLiteral("No/May Be/Yes/").repeated(8));
    ReturnToMain(run, screens);
    screens.ticked[5] = true;
    screens.readings = 0;
    StartTest(run, screens);
    QCOMPARE(run.QuestionList.size(), std::size_t(10));
    QCOMPARE(run.QuestionList.front(), 40);
    QCOMPARE(screens.counter, "Question 1 of 8");
    QVERIFY(run.AnswerTrail.empty());
}

void TestTestRun::nameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blank") << QStringLiteral(" ") << true;
    QTest::newRow("name") << QStringLiteral("Asha") << true;
}

void TestTestRun::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    FakeScreens screens;
    QCOMPARE(CheckName(name.toStdString(), screens), accepted);
    QCOMPARE(screens.errors.empty(), accepted);
    QCOMPARE(screens.nameFocused, accepted ? 0 : 1);
    if (!accepted)
        QCOMPARE(screens.errors.front(), "Please enter your name");
}

QTEST_GUILESS_MAIN(TestTestRun)
#include "tst_testrun.moc"
