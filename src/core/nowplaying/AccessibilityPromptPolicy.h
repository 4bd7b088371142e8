#pragma once

#include "core/platform/DefaultsStore.h"

#include <string>

namespace vimbo::nowplaying {

// Shows the request to turn accessibility on at most once every 30 days, across runs, by keeping the
// date it was last shown in the defaults.
struct AccessibilityPromptPolicy {
    platform::DefaultsStore& defaults;
    std::string key;

    // True when the prompt may be shown `now`; the date has then been recorded.
    bool claimPrompt(platform::DefaultsDate now) const;
};

} // namespace vimbo::nowplaying
