#include "Scoring.h"

#include "modVeyloom.h"

int ChakraOfQuestion(int question)
{
    // Questions are grouped eight to a chakra; anything past the sixth group counts as Crown.
    if (question >= 0 && question <= 7)
        return 0;
    if (question >= 8 && question <= 15)
        return 1;
    if (question >= 16 && question <= 23)
        return 2;
    if (question >= 24 && question <= 31)
        return 3;
    if (question >= 32 && question <= 39)
        return 4;
    if (question >= 40 && question <= 47)
        return 5;
    return 6;
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

    // The two spare slots at the end of the list take no part.
    const std::size_t asked = questionList.size() >= 2 ? questionList.size() - 2 : 0;
    for (std::size_t i = 0; i < asked; ++i)
        score[ChakraOfQuestion(questionList[i])] = 0;

    for (std::size_t i = 0; i < asked && i < tokens.size(); ++i) {
        const int q = questionList[i];
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
