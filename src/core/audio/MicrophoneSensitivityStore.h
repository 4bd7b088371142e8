#pragma once

#include "core/platform/DefaultsStore.h"

namespace vimbo::audio {

// The user's microphone gain, persisted as a double under "microphoneSensitivity".
class MicrophoneSensitivityStore {
  public:
    explicit MicrophoneSensitivityStore(platform::DefaultsStore& defaults) : defaults_(defaults) {}

    static constexpr float kDefault = 1.0f;
    static constexpr float kMinimum = 0.125f;
    static constexpr float kMaximum = 8.0f;
    // Non-finite values become 1.0; the rest are clamped to 0.125...8.0.
    static float clamp(float value);

    // A missing, non-numeric or non-finite stored value gives 1.0.
    float load() const;
    void save(float value);

  private:
    platform::DefaultsStore& defaults_;
};

} // namespace vimbo::audio
