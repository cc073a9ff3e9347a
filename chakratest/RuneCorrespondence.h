#pragma once

#include <array>
#include <string_view>
#include <vector>

// Each chakra's rune group as rune indexes, each followed by "/"; the eighth slot is spare.
using RuneGroupTable = std::array<std::string_view, 8>;

inline constexpr RuneGroupTable RuneGroupTexts = {
    "0/11/6/", // Root: Algiz, Mannaz, Hagalaz
    "15/14/8/9/4/2/", // Sacral: Thurisaz, Sowilo, Jera, Kenaz, Fehu, Berkano
    "17/12/7/10/5/1/", // Navel: Uruz, Nauthiz, Isa, Laguz, Gebo, Ansuz
    "13/16/3/", // Heart: Raidho, Tiwas, Eihwas
    "15/14/8/9/4/2/", // Throat
    "17/12/7/10/5/1/", // Third Eye
    "0/11/6/", // Crown
    "",
};

// The runes of a chakra's group, in group order.
std::vector<int> RunesFor(int chakra, const RuneGroupTable &RuneGroups = RuneGroupTexts);
