#include "TestRun.h"

#include "modVeyloom.h"

using modVeyloom::QuestionsPerChakra;

void StartTest(TestRun &run, TestScreens &screens)
{
    run.QuestionList.assign(SpareSlots, 0);
    std::size_t p = 0;
    bool anyTicked = false;
    for (int i = 0; i < modVeyloom::ChakraCount; ++i) {
        if (!screens.isChakraTicked(i))
            continue;
        anyTicked = true;
        run.QuestionList.resize(run.QuestionList.size() + QuestionsPerChakra, 0);
        for (int j = QuestionsPerChakra * i; j < QuestionsPerChakra * (i + 1); ++j)
            run.QuestionList[p++] = static_cast<std::int16_t>(j);
    }

    if (!anyTicked) {
        screens.showInputError(NoChakraChosenMessage);
        return;
    }
    run.CurrentQuestion = 0;
    ShowQuestion(run.CurrentQuestion, run, screens);
    screens.bringScreenToFront(Screen::Question);
}

void ShowQuestion(const std::int16_t &n, const TestRun &run, TestScreens &screens)
{
    modVeyloom::LoadCatalogue();
    screens.selectAnswer(Answer::Yes);
    const int asked = int(AskedQuestions(run.QuestionList).size());
    screens.setQuestionCounter(
        "Question " + std::to_string(n + 1) + " of " + std::to_string(asked));
    if (n >= 0 && n < asked) {
        const int question = run.QuestionList[static_cast<std::size_t>(n)];
        if (question >= 0 && question < modVeyloom::QuestionCount)
            screens.setQuestionText(modVeyloom::QuestionTexts[question]);
    }
}

void NextQuestion(TestRun &run, TestScreens &screens)
{
    switch (screens.selectedAnswer()) {
    case Answer::Yes:
        run.AnswerTrail += "Yes/";
        break;
    case Answer::No:
        run.AnswerTrail += "No/";
        break;
    case Answer::MayBe:
        run.AnswerTrail += "May Be/";
        break;
    }
    ++run.CurrentQuestion;
    if (run.CurrentQuestion <= int(AskedQuestions(run.QuestionList).size()) - 1)
        ShowQuestion(run.CurrentQuestion, run, screens);
    else
        screens.composeReading();
}

void ReturnToMain(TestRun &run, TestScreens &screens)
{
    for (int i = 0; i < modVeyloom::ChakraCount; ++i)
        screens.untickChakra(i);
    run.QuestionList.clear();
    run.AnswerTrail.clear();
    screens.bringScreenToFront(Screen::PersonalDetails);
}

bool CheckName(std::string_view name, TestScreens &screens)
{
    if (!name.empty())
        return true;
    screens.showInputError(NameMissingMessage);
    screens.focusName();
    return false;
}
