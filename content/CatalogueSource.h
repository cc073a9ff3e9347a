#pragma once

#include <array>
#include <string_view>

// The fixed wording of the catalogue. modVeyloom copies these into its tables on every
// LoadCatalogue(); nothing else reads them directly.
namespace content {

extern const std::array<std::string_view, 7> kUnderActiveTexts;
extern const std::array<std::string_view, 7> kOpenStateTexts;
extern const std::array<std::string_view, 7> kOverActiveTexts;

extern const std::array<std::string_view, 18> kRuneMeanings;
extern const std::array<std::string_view, 18> kRuneReversedMeanings;
extern const std::array<std::string_view, 18> kRuneMerkstaveMeanings;

} // namespace content
