#include "modVeyloom.h"

#include "CatalogueSource.h"

namespace modVeyloom {

std::array<std::string_view, QuestionCount> QuestionTexts;
std::array<std::string_view, QuestionCount + 1> ScoringAnswers;
std::array<std::string_view, ChakraCount> ChakraNames;
std::array<std::string_view, ChakraCount> UnderActiveTexts;
std::array<std::string_view, ChakraCount> OpenStateTexts;
std::array<std::string_view, ChakraCount> OverActiveTexts;
std::array<std::string_view, RuneCount> RuneNames;
std::array<std::string_view, RuneCount> RuneMeanings;
std::array<std::string_view, RuneCount> RuneReversedMeanings;
std::array<std::string_view, RuneCount> RuneMerkstaveMeanings;

namespace {

struct Question {
    std::string_view text;
    std::string_view scoringAnswer;
};

// The wording is kept exactly as users have always seen it, odd spacing and all.
constexpr std::array<Question, QuestionCount> kQuestions = { {
    // Root
    { "Do you have a good sense of direction?", AnswerYes },
    { "Do you feel physically active and fit?", AnswerNo },
    { "Does it matter to you if do not have material comforts?", AnswerYes },
    { "Do u feel comfortable in the presence of unknown people?", AnswerNo },
    { "Do feel grounded and stable?", AnswerYes },
    { "Do you feel connected to the oneness of the universe?", AnswerNo },
    { "Do you have good survival instincts?", AnswerNo },
    { "Do you have the courage to stand up for yourself?", AnswerYes },
    // Sacral
    { "Don't you believe in creativity?", AnswerNo },
    { "Do you have no control over your feelings?", AnswerYes },
    { "Do you feel unbalanced in your relationships with others?", AnswerYes },
    { "Do you lack excitement and fail to get emotional about issues?", AnswerNo },
    { "Do you feel uninterested in sex for pleasure?", AnswerNo },
    { "Do you feel connected to the present?", AnswerYes },
    { "Do you feel that you do not relate to people?", AnswerYes },
    { "Do you feel better when you don't let go of  your emotions?", AnswerNo },
    // Navel
    { "Do you feel self confident and self reliant?", AnswerYes },
    { "Do you feel you can change your life when circumstances demand?", AnswerNo },
    { "Do you submit yourself to the natural flow of life?", AnswerYes },
    { "Do you believe you can achieve all the goals you set for yourself?", AnswerYes },
    { "Do you treat yourself with respect and honor?", AnswerYes },
    { "Are you a good decision maker?", AnswerNo },
    { "Do you have a sense of humor?", AnswerNo },
    { "Do you believe you have the right balance of ego, self-control and intellect?", AnswerYes },
    // Heart
    { "Do you have a bad temperament and are always moody?", AnswerYes },
    { "Do you feel jealous and envious about others?", AnswerNo },
    { "Do you fear being rejected or abandoned?", AnswerNo },
    { "Do you find it easy to say no to others?", AnswerYes },
    { "Do you feel unconditional love can never be achieved?", AnswerYes },
    { "Do you feel disconnected from your emotions?", AnswerNo },
    { "Do you restricted and suffocated in life?", AnswerNo },
    { "Do you feel immune to the pain of loss?", AnswerYes },
    // Throat
    { "Do you have good planning and organizational skills?", AnswerYes },
    { "Do you communicate easily with others?", AnswerNo },
    { "Do you feel your heart and mind are balanced?", AnswerNo },
    { "Do you and express yourself through some art form like dancing singing, painting etc?",
        AnswerYes },
    { "Do you balance talking and listening while speaking to people?", AnswerYes },
    { "Do you have faith in belief and family traditions?", AnswerNo },
    { "Are you honest with others irrespective of circumstances and always speak the truth?",
        AnswerNo },
    { "Do you believe in loyalty? ", AnswerYes },
    // Third Eye
    { "Do you depend on others to make your decisions? ", AnswerNo },
    { "Do you have zero faith in your deep insight and sound judgment?", AnswerYes },
    { "Do you feel that intuition about things doesn't exist in reality?", AnswerYes },
    { "Do you fantasize a lot or are you level headed?", AnswerNo },
    { "Do you have negative thoughts?", AnswerYes },
    { "Do you fail to see the 'big picture'?", AnswerNo },
    { "Do you feel that developing your psychic and intuitive powers is useless?", AnswerYes },
    { "Do you feel moody and depressed?", AnswerNo },
    // Crown
    { "Do you believe in spirituality?", AnswerYes },
    { "Do you believe in a proper balance between spirituality and reality?", AnswerNo },
    { "Can you integrate your wisdom with your intuitive powers?", AnswerNo },
    { "Do you believe more faith in the divine wisdom than in your abilities?", AnswerYes },
    { "Do you feel united with the Divine Source?", AnswerNo },
    { "Do you believe in the higher levels of knowledge and consciousness?", AnswerYes },
    { "Do you have a feeling of spiritual knowingness and enlightenment?", AnswerYes },
    { "Do you non-attached from the real world?", AnswerNo },
} };

} // namespace

void LoadCatalogue()
{
    for (int q = 0; q < QuestionCount; ++q) {
        QuestionTexts[q] = kQuestions[q].text;
        ScoringAnswers[q] = kQuestions[q].scoringAnswer;
    }
    ChakraNames = kChakraNames;
    UnderActiveTexts = content::kUnderActiveTexts;
    OpenStateTexts = content::kOpenStateTexts;
    OverActiveTexts = content::kOverActiveTexts;
    RuneNames = kRuneNames;
    RuneMeanings = content::kRuneMeanings;
    RuneReversedMeanings = content::kRuneReversedMeanings;
    RuneMerkstaveMeanings = content::kRuneMerkstaveMeanings;
}

} // namespace modVeyloom
