#pragma once

#include <array>
#include <string_view>

// The built-in content: chakras, questions with their scoring answers, rating texts and runes.
// Every table is empty until the first LoadCatalogue(); after it, each entry holds its fixed text
// for the rest of the run. Texts are UTF-8 and are used exactly as stored, blanks included.
namespace modVeyloom {

inline constexpr int ChakraCount = 7;
inline constexpr int QuestionsPerChakra = 8;
inline constexpr int QuestionCount = ChakraCount * QuestionsPerChakra;
inline constexpr int RuneCount = 18;

inline constexpr std::string_view AnswerYes = "Yes";
inline constexpr std::string_view AnswerNo = "No";

// The chakra names also caption the check boxes of the first screen, which exist before any fill.
inline constexpr std::array<std::string_view, ChakraCount> kChakraNames = {
    "Root Chakra (Muladhara)",
    "Sacral Chakra (Swadhisthanna)",
    "Navel Chakra (Manipura)",
    "Heart Chakra (Anahata)",
    "Throat Chakra (Vishuddha)",
    "Third Eye Chakra (Ajna)",
    "Crown Chakra (Sahasrara)",
};

// The rune names also name the rune pictures, which exist before any fill.
inline constexpr std::array<std::string_view, RuneCount> kRuneNames = {
    "Algiz",
    "Ansuz",
    "Berkano",
    "Eihwas",
    "Fehu",
    "Gebo",
    "Hagalaz",
    "Isa",
    "Jera",
    "Kenaz",
    "Laguz",
    "Mannaz",
    "Nauthiz",
    "Raidho",
    "Sowilo",
    "Thurisaz",
    "Tiwas",
    "Uruz",
};

// Indexed by question (0..55); chakra c owns questions 8c..8c+7.
extern std::array<std::string_view, QuestionCount> QuestionTexts;
// "Yes" or "No" per question; the last slot is spare and stays empty.
extern std::array<std::string_view, QuestionCount + 1> ScoringAnswers;

// Indexed by chakra: 0 Root, 1 Sacral, 2 Navel, 3 Heart, 4 Throat, 5 Third Eye, 6 Crown.
extern std::array<std::string_view, ChakraCount> ChakraNames;
extern std::array<std::string_view, ChakraCount> UnderActiveTexts;
extern std::array<std::string_view, ChakraCount> OpenStateTexts;
extern std::array<std::string_view, ChakraCount> OverActiveTexts;

// Indexed by rune, in the alphabetical order of the names: 0 Algiz .. 17 Uruz.
extern std::array<std::string_view, RuneCount> RuneNames;
extern std::array<std::string_view, RuneCount> RuneMeanings;
extern std::array<std::string_view, RuneCount> RuneReversedMeanings;
extern std::array<std::string_view, RuneCount> RuneMerkstaveMeanings;

// Fills every table above; each call stores the same texts again.
void LoadCatalogue();

} // namespace modVeyloom
