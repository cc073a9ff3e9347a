#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The test in progress: which questions are asked, which one is on screen, and the answers so far.
struct TestRun {
    // Question indexes in asking order, followed by SpareSlots zero slots that are never asked
    // (AskedQuestions gives the rest).
    std::vector<std::int16_t> QuestionList;
    // The slot of QuestionList whose question is on screen.
    std::int16_t CurrentQuestion = 0;
    // One token per answer, oldest first: "Yes/", "No/" or "May Be/".
    std::string AnswerTrail;
};

inline constexpr std::size_t SpareSlots = 2;

// The asked part of a question list: all of it but the spare slots at its end.
inline std::span<const std::int16_t> AskedQuestions(const std::vector<std::int16_t> &QuestionList)
{
    return std::span(QuestionList)
        .first(QuestionList.size() - std::min(QuestionList.size(), SpareSlots));
}

// The answer buttons, by their index on the question screen.
enum class Answer { Yes = 0, No = 1, MayBe = 2 };

// The screens of the main window, by their index.
enum class Screen { PersonalDetails = 0, Question = 1, Result = 2 };

// What the test run needs of the window that shows it. The window implements it with its
// controls; tests implement it with plain values.
class TestScreens
{
public:
    virtual ~TestScreens() = default;

    virtual bool isChakraTicked(int chakra) const = 0;
    virtual void untickChakra(int chakra) = 0;
    virtual Answer selectedAnswer() const = 0;
    virtual void selectAnswer(Answer answer) = 0;
    virtual void setQuestionCounter(const std::string &text) = 0;
    virtual void setQuestionText(std::string_view text) = 0;
    virtual void bringScreenToFront(Screen screen) = 0;
    // A modal error box with an OK button and the application's title.
    virtual void showInputError(std::string_view text) = 0;
    virtual void focusName() = 0;
    // Runs once the last answer is recorded.
    virtual void composeReading() = 0;
};

inline constexpr std::string_view NoChakraChosenMessage = "You have to select at least One option";
inline constexpr std::string_view NameMissingMessage = "Please enter your name";

void StartTest(TestRun &run, TestScreens &screens);
void ShowQuestion(const std::int16_t &n, const TestRun &run, TestScreens &screens);
void NextQuestion(TestRun &run, TestScreens &screens);
// Back to the first screen for a new test; the name and the last reading stay.
void ReturnToMain(TestRun &run, TestScreens &screens);

// Checks the name field for an entry. Kept for publishers who want a name before the test;
// the test itself does not ask for one.
bool CheckName(std::string_view name, TestScreens &screens);
