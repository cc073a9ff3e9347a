#pragma once

#include <utility>

// Event handlers run each step this way: a step that fails is skipped without a word and the
// handler goes on with its next step, so nothing escapes into Qt's event loop.
template <typename Step> void skipOnFailure(Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
    } catch (...) { }
}
