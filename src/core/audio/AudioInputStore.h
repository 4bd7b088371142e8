#pragma once

#include "core/audio/AudioInput.h"
#include "core/platform/DefaultsStore.h"

namespace vimbo::audio {

// The selected capture source, persisted under "audioInput" as its raw text.
class AudioInputStore {
  public:
    explicit AudioInputStore(platform::DefaultsStore& defaults) : defaults_(defaults) {}

    // Exactly "microphone" gives the microphone; anything else, or nothing, gives system audio.
    AudioInput load() const {
        auto stored = defaults_.readString(kKey);
        return stored && *stored == rawValue(AudioInput::microphone) ? AudioInput::microphone
                                                                     : AudioInput::systemAudio;
    }
    void save(AudioInput input) { defaults_.writeString(kKey, rawValue(input)); }

    static constexpr std::string_view kKey = "audioInput";

  private:
    platform::DefaultsStore& defaults_;
};

} // namespace vimbo::audio
