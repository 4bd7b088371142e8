#pragma once

#include <array>
#include <cstddef>

namespace vimbo::audio {

inline constexpr std::size_t kSpectrumBands = 24;

// One analysis result per display frame; every value lies in 0...1 (beat is 0 or 0.4...1).
struct AudioFeatures {
    float level = 0;
    float bass = 0;
    float mid = 0;
    float treble = 0;
    float energy = 0;
    float beat = 0;
    std::array<float, kSpectrumBands> spectrum{};

    friend bool operator==(const AudioFeatures&, const AudioFeatures&) = default;
};

} // namespace vimbo::audio
