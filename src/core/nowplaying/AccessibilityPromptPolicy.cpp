#include "core/nowplaying/AccessibilityPromptPolicy.h"

namespace vimbo::nowplaying {

namespace {
constexpr std::chrono::seconds kPromptInterval{2'592'000}; // 30 days
} // namespace

bool AccessibilityPromptPolicy::claimPrompt(platform::DefaultsDate now) const {
    // A date in the future (a clock set back) also waits, so a wrong clock cannot repeat the prompt.
    if (const auto last = defaults.readDate(key); last && now - *last < kPromptInterval) return false;
    defaults.writeDate(key, now);
    return true;
}

} // namespace vimbo::nowplaying
