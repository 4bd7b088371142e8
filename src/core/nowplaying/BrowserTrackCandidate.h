#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimbo::nowplaying {

// One browser playing sound, with the title that most likely names what it plays.
struct BrowserTrackCandidate {
    std::int32_t pid = 0;
    std::optional<std::string> rawTitle; // before cleaning
    bool isFrontmost = false;

    bool operator==(const BrowserTrackCandidate&) const = default;
};

} // namespace vimbo::nowplaying
