#include "FakeScreens.h"
#include "modVeyloom.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<Answer>)

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
    void countsEveryQuestion_data();
    void countsEveryQuestion();
    void refusesWithNothingTicked();
    void answerTokens_data();
    void answerTokens();
    void everyQuestionStartsWithYes();
    void returnToMainAndTestAgain();
    void nameCheck_data();
    void nameCheck();
};

void TestTestRun::questionOrder_data()
{
    QTest::addColumn<std::vector<int>>("ticked");
    QTest::addColumn<std::vector<int>>("questions");
    QTest::newRow("crown only") << std::vector<int> { 6 } << questionsOf({ 6 });
    QTest::newRow("root and heart") << std::vector<int> { 0, 3 } << questionsOf({ 0, 3 });
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
    for (std::size_t i = 0; i < questions.size(); ++i)
        QCOMPARE(int(run.QuestionList[i]), questions[i]);
    QCOMPARE(run.QuestionList[questions.size()], 0);
    QCOMPARE(run.QuestionList[questions.size() + 1], 0);
    QCOMPARE(run.CurrentQuestion, 0);
    QCOMPARE(screens.front, Screen::Question);
    QCOMPARE(screens.question, modVeyloom::QuestionTexts[questions.front()]);
    QVERIFY(run.AnswerTrail.empty());
    QVERIFY(screens.errors.empty());
}

void TestTestRun::countsEveryQuestion_data()
{
    QTest::addColumn<std::vector<int>>("ticked");
    QTest::newRow("crown only") << std::vector<int> { 6 };
    QTest::newRow("root and heart") << std::vector<int> { 0, 3 };
    QTest::newRow("all seven") << std::vector<int> { 0, 1, 2, 3, 4, 5, 6 };
}

void TestTestRun::countsEveryQuestion()
{
    QFETCH(std::vector<int>, ticked);
    FakeScreens screens;
    for (int c : ticked)
        screens.ticked[c] = true;
    TestRun run;
    StartTest(run, screens);

    const int total = 8 * int(ticked.size());
    for (int n = 1; n <= total; ++n) {
        QCOMPARE(screens.counter, "Question " + std::to_string(n) + " of " + std::to_string(total));
        QCOMPARE(screens.question, modVeyloom::QuestionTexts[run.QuestionList[n - 1]]);
        QCOMPARE(screens.readings, 0);
        NextQuestion(run, screens);
    }
    QCOMPARE(screens.readings, 1);
    QCOMPARE(run.CurrentQuestion, total);
    QCOMPARE(screens.counter, "Question " + std::to_string(total) + " of " + std::to_string(total));
    QCOMPARE(run.QuestionList.size(), std::size_t(total + 2));
}

void TestTestRun::refusesWithNothingTicked()
{
    FakeScreens screens;
    TestRun run;
    run.CurrentQuestion = 5;
    StartTest(run, screens);

    QCOMPARE(screens.errors, std::vector<std::string> { "You have to select at least One option" });
    QCOMPARE(screens.front, Screen::PersonalDetails);
    QCOMPARE(run.QuestionList, (std::vector<std::int16_t> { 0, 0 }));
    QCOMPARE(run.CurrentQuestion, 5);
    QCOMPARE(screens.counter, "Question No");
    QCOMPARE(screens.nameFocused, 0);
}

void TestTestRun::answerTokens_data()
{
    QTest::addColumn<std::vector<Answer>>("answers");
    QTest::addColumn<QString>("trail");
    QTest::newRow("all yes") << std::vector<Answer> { Answer::Yes }
                             << QStringLiteral("Yes/").repeated(8);
    QTest::newRow("all no") << std::vector<Answer> { Answer::No }
                            << QStringLiteral("No/").repeated(8);
    QTest::newRow("all may be") << std::vector<Answer> { Answer::MayBe }
                                << QStringLiteral("May Be/").repeated(8);
    QTest::newRow("mixed") << std::vector<Answer> { Answer::No, Answer::MayBe, Answer::Yes,
        Answer::No, Answer::Yes, Answer::Yes, Answer::MayBe, Answer::No }
                           << QStringLiteral("No/May Be/Yes/No/Yes/Yes/May Be/No/");
}

void TestTestRun::answerTokens()
{
    QFETCH(std::vector<Answer>, answers);
    QFETCH(QString, trail);
    FakeScreens screens;
    screens.ticked[4] = true;
    TestRun run;
    StartTest(run, screens);
    screens.answerAll(run, answers);
    QCOMPARE(QString::fromStdString(run.AnswerTrail), trail);
    QCOMPARE(screens.readings, 1);
}

void TestTestRun::everyQuestionStartsWithYes()
{
    FakeScreens screens;
    screens.ticked[1] = true;
    TestRun run;
    StartTest(run, screens);
    QCOMPARE(screens.answer, Answer::Yes);
    screens.answer = Answer::MayBe;
    NextQuestion(run, screens);
    QCOMPARE(screens.answer, Answer::Yes);
    // Pressing on without touching the answers records "Yes".
    NextQuestion(run, screens);
    QCOMPARE(run.AnswerTrail, "May Be/Yes/");
}

void TestTestRun::returnToMainAndTestAgain()
{
    FakeScreens screens;
    screens.ticked = { true, false, true, false, false, false, true };
    TestRun run;
    StartTest(run, screens);
    screens.answerAll(run, { Answer::No });
    QCOMPARE(run.AnswerTrail.size(), std::size_t(24 * 3));

    ReturnToMain(run, screens);
    QCOMPARE(screens.ticked, (std::array<bool, 7> {}));
    QVERIFY(run.QuestionList.empty());
    QVERIFY(run.AnswerTrail.empty());
    QCOMPARE(screens.front, Screen::PersonalDetails);
    QCOMPARE(run.CurrentQuestion, 24);

    screens.ticked[5] = true;
    screens.readings = 0;
    StartTest(run, screens);
    QCOMPARE(run.QuestionList.size(), std::size_t(10));
    QCOMPARE(run.QuestionList.front(), 40);
    QCOMPARE(screens.counter, "Question 1 of 8");
    screens.answerAll(run, { Answer::MayBe });
    QCOMPARE(run.AnswerTrail, "May Be/May Be/May Be/May Be/May Be/May Be/May Be/May Be/");
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
