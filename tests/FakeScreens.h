#pragma once

#include "TestRun.h"

#include <array>
#include <string>
#include <vector>

// Plays the main window for the test run: plain values in place of controls.
class FakeScreens : public TestScreens
{
public:
    std::array<bool, 7> ticked {};
    Answer answer = Answer::MayBe;
    std::string counter = "Question No";
    std::string question;
    Screen front = Screen::PersonalDetails;
    std::vector<std::string> errors;
    int nameFocused = 0;
    int readings = 0;

    bool isChakraTicked(int chakra) const override { return ticked.at(chakra); }
    void untickChakra(int chakra) override { ticked.at(chakra) = false; }
    Answer selectedAnswer() const override { return answer; }
    void selectAnswer(Answer a) override { answer = a; }
    void setQuestionCounter(const std::string &text) override { counter = text; }
    void setQuestionText(std::string_view text) override { question = text; }
    void bringScreenToFront(Screen screen) override { front = screen; }
    void showInputError(std::string_view text) override { errors.emplace_back(text); }
    void focusName() override { ++nameFocused; }
    void composeReading() override
    {
        ++readings;
        front = Screen::Result;
    }

    // Answers every remaining question with the given answers, cycling through them.
    void answerAll(TestRun &run, const std::vector<Answer> &answers)
    {
        for (std::size_t i = 0; readings == 0 && i < 1000; ++i) {
            answer = answers[i % answers.size()];
            NextQuestion(run, *this);
        }
    }
};
