#include "Scoring.h"

#include "TestRun.h"
#include "modVeyloom.h"

#include <algorithm>

int ChakraOfQuestion(int question)
{
    // Questions are grouped eight to a chakra; anything outside the first six groups counts as
    // Crown.
    return question < 0 ? 6 : std::min(question / modVeyloom::QuestionsPerChakra, 6);
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

ChakraScoreTable ScoreAnswers(
    const std::vector<std::int16_t> &questionList, std::string_view answerTrail)
{
    const std::vector<std::string_view> tokens = SplitAt(answerTrail, '/');
    ChakraScoreTable score {};
    for (int c = 0; c < modVeyloom::ChakraCount; ++c)
        score[c] = NotTested;

    const std::span<const std::int16_t> asked = AskedQuestions(questionList);
    for (int q : asked)
        score[ChakraOfQuestion(q)] = 0;

    for (std::size_t i = 0; i < asked.size() && i < tokens.size(); ++i) {
        const int q = asked[i];
        if (q < 0 || q >= modVeyloom::QuestionCount)
            continue;
        if (tokens[i] == modVeyloom::ScoringAnswers[q])
            ++score[ChakraOfQuestion(q)];
    }
    return score;
}

ChakraState RateScore(int count)
{
    if (count >= 0 && count <= 2)
        return ChakraState::UnderActive;
    if (count >= 3 && count <= 5)
        return ChakraState::Open;
    return ChakraState::OverActive;
}
