#include "core/audio/MicrophoneNoiseGate.h"

#include <algorithm>

namespace vimbo::audio {

float MicrophoneNoiseGate::process(float rms) {
    const float r = rms >= 0 ? rms : 0.0f; // a NaN fails the comparison too
    // The floor only creeps upward while the gate is mostly closed, so speech cannot become the floor.
    const float rate = r < noiseFloor ? 0.08f : (gain < 0.15f ? 0.018f : 0.0f);
    const float floor = std::max(noiseFloor + rate * (r - noiseFloor), 0.00005f);
    const float open = std::max(floor * 1.12f, 0.00008f);
    const float full = std::max(open + 0.00005f, floor * 1.9f);
    const float x = std::clamp((r - open) / (full - open), 0.0f, 1.0f);
    const float s = x * x * (3.0f - 2.0f * x);
    gain = gain + (s - gain) * (gain < s ? 0.55f : 0.055f);
    noiseFloor = floor;
    return gain;
}

} // namespace vimbo::audio
