#include "core/audio/MicrophoneSensitivityStore.h"

#include <algorithm>
#include <cmath>

namespace vimbo::audio {

namespace {

constexpr const char* kKey = "microphoneSensitivity";
// Doubles at or beyond this magnitude round to infinity in single precision.
constexpr double kFloatOverflow = 0x1.ffffffp127;

} // namespace

float MicrophoneSensitivityStore::clamp(float value) {
    if (!std::isfinite(value)) return kDefault;
    return std::clamp(value, kMinimum, kMaximum);
}

float MicrophoneSensitivityStore::load() const {
    const auto stored = defaults_.readDouble(kKey);
    if (!stored || !std::isfinite(*stored) || std::fabs(*stored) >= kFloatOverflow) return kDefault;
    return clamp(static_cast<float>(*stored));
}

void MicrophoneSensitivityStore::save(float value) {
    defaults_.writeDouble(kKey, clamp(value));
}

} // namespace vimbo::audio
