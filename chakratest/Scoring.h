#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

enum class ChakraState { UnderActive, Open, OverActive };

// One score per chakra index; the eighth slot is spare.
using ChakraScoreTable = std::array<std::int16_t, 8>;

inline constexpr std::int16_t NotTested = -1;
// Marks a chakra rated open while its part of the reading is written.
inline constexpr std::int16_t RatedOpen = -2;

// The chakra that owns a question.
int ChakraOfQuestion(int question);

// Counts, for every tested chakra, its answers that equal the question's scoring answer.
// Untested chakras keep NotTested. Reads modVeyloom::ScoringAnswers as last loaded.
ChakraScoreTable ScoreAnswers(
    const std::vector<std::int16_t> &questionList, std::string_view answerTrail);

ChakraState RateScore(int count);

// Splits text at every separator; text ending in the separator yields a final empty piece.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);
