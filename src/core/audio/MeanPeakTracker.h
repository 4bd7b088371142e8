#pragma once

#include <algorithm>

namespace vimbo::audio {

// A peak that decays a little every frame, for scaling a value to 0...1 against its own recent peak.
struct DecayingPeak {
    static constexpr float kStart = 0.001f;
    // Keeps a nearly silent first frame from dividing by almost nothing.
    static constexpr float kFloor = 0.0001f;

    float peak = kStart;

    // Takes the value into the peak (decayed by `decay` first) and returns value / peak, at most 1.
    float normalise(float value, float decay) {
        peak = std::max(peak * decay, value);
        return std::min(value / std::max(peak, kFloor), 1.0f);
    }
};

// A slowly rising mean and the decaying peak of the value above it (a share `meanFactor` of the mean
// taken off), so a steady band fades and only what stands out of the music's own dynamics shows.
struct MeanPeakTracker {
    static constexpr float kMeanRate = 0.008f;
    static constexpr float kPeakDecay = 0.9995f;

    float mean = 0;
    DecayingPeak peak;

    // The value above the updated mean against its peak, 0...1.
    float track(float value, float meanFactor) {
        mean = mean + (value - mean) * kMeanRate;
        const float above = std::max(value - meanFactor * mean, 0.0f);
        return peak.normalise(above, kPeakDecay);
    }
};

} // namespace vimbo::audio
