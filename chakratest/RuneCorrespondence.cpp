#include "RuneCorrespondence.h"

#include "Scoring.h"

#include <charconv>

std::vector<int> RunesFor(int chakra, const RuneGroupTable &RuneGroups)
{
    std::vector<int> runes;
    if (chakra < 0 || chakra >= static_cast<int>(RuneGroups.size()))
        return runes;
    const std::vector<std::string_view> pieces = SplitAt(RuneGroups[chakra], '/');
    // The group text ends in "/", so the last piece is always the empty one after it.
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        int rune = 0;
        const auto [end, error]
            = std::from_chars(pieces[i].data(), pieces[i].data() + pieces[i].size(), rune);
        if (error == std::errc() && end == pieces[i].data() + pieces[i].size())
            runes.push_back(rune);
    }
    return runes;
}
