#include "ComposeReading.h"

#include "ImageList.h"
#include "ReadingView.h"
#include "RuneCorrespondence.h"
#include "Scoring.h"
#include "Style.h"
#include "TestRun.h"
#include "modAddPicToRTB.h"
#include "modVeyloom.h"

#include <QTextCharFormat>
#include <QTextCursor>

#include <string_view>

namespace {

constexpr std::string_view UnderactiveSuffix = " is Underactive";
constexpr std::string_view OpenSuffix = " is Open";
constexpr std::string_view OveractiveSuffix = " is Overactive";
constexpr std::string_view NoRunesForOpenChakra
    = "Your Chosen Chakra is open. There is no Corresponding Runes Card.";
constexpr std::string_view RuneStoneLabel = "Corresponding Runes Stone: ";

// Writes at the insertion point with the colour and weight set last, as the reading is
// built from top to bottom.
class ReadingWriter
{
public:
    // The whole reading is one edit, so the view lays its text out once, not after every line.
    explicit ReadingWriter(const QTextCursor &insertion)
        : m_cursor(insertion)
    {
        m_cursor.beginEditBlock();
    }
    ~ReadingWriter() { m_cursor.endEditBlock(); }
    ReadingWriter(const ReadingWriter &) = delete;
    ReadingWriter &operator=(const ReadingWriter &) = delete;

    void setColour(const QColor &colour) { m_format.setForeground(colour); }
    void setBold(bool bold) { m_format.setFontWeight(bold ? QFont::Bold : QFont::Normal); }

    void write(std::string_view text)
    {
        m_cursor.insertText(QString::fromUtf8(text.data(), qsizetype(text.size())), m_format);
    }

    void lineBreak(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            m_cursor.insertBlock(QTextBlockFormat(), m_format);
    }

private:
    QTextCursor m_cursor;
    QTextCharFormat m_format;
};

std::string_view ratingSuffix(ChakraState state)
{
    switch (state) {
    case ChakraState::UnderActive:
        return UnderactiveSuffix;
    case ChakraState::Open:
        return OpenSuffix;
    case ChakraState::OverActive:
        return OveractiveSuffix;
    }
    return {};
}

std::string_view ratingText(ChakraState state, int chakra)
{
    switch (state) {
    case ChakraState::UnderActive:
        return modVeyloom::UnderActiveTexts[chakra];
    case ChakraState::Open:
        return modVeyloom::OpenStateTexts[chakra];
    case ChakraState::OverActive:
        return modVeyloom::OverActiveTexts[chakra];
    }
    return {};
}

void writeRune(ReadingWriter &out, ReadingView &RTB, const ImageList &IMG, int chakra, int rune)
{
    using namespace modVeyloom;
    if (rune < 0 || rune >= RuneCount)
        return;
    const std::int16_t position = std::int16_t(rune + 1);
    modAddPicToRTB::AddPicToRTB(RTB, IMG, position);
    out.lineBreak();
    out.setBold(true);
    out.write(ChakraNames[chakra]);
    out.lineBreak();
    out.write(RuneStoneLabel);
    out.write(RuneNames[rune]);
    out.lineBreak();
    out.setBold(false);
    out.write(RuneMeanings[rune]);
    out.lineBreak();
    out.write(RuneReversedMeanings[rune]);
    out.lineBreak();
    out.write(RuneMerkstaveMeanings[rune]);
    out.lineBreak(2);
}

} // namespace

void ComposeReading(ReadingView &RTB, const ImageList &IMG, const TestRun &run)
{
    using namespace modVeyloom;
    ChakraScoreTable ChakraScore = ScoreAnswers(run.QuestionList, run.AnswerTrail);
    const RuneGroupTable RuneGroups = RuneGroupTexts;
    LoadCatalogue();
    RTB.rewrite([&](QTextCursor &insertion) {
        ReadingWriter out(insertion);
        for (int k = 0; k < ChakraCount; ++k) {
            if (ChakraScore[k] != NotTested) {
                out.setColour(Style::Colour::ReadingText);
                const ChakraState state = RateScore(ChakraScore[k]);
                out.setBold(true);
                out.write(ChakraNames[k]);
                out.write(ratingSuffix(state));
                out.lineBreak();
                out.setBold(false);
                out.write(ratingText(state, k));
                out.lineBreak(2);
                if (state == ChakraState::Open)
                    ChakraScore[k] = RatedOpen;
            }
            RTB.setReadOnlyFlag(false);
            if (ChakraScore[k] == RatedOpen) {
                out.setBold(true);
                out.write(NoRunesForOpenChakra);
                out.lineBreak(2);
                out.setBold(false);
            } else if (ChakraScore[k] != NotTested) {
                for (int rune : RunesFor(k, RuneGroups))
                    writeRune(out, RTB, IMG, k, rune);
            }
            RTB.setReadOnlyFlag(true);
        }
    });
}
