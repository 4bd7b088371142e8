#pragma once

#include "core/platform/AudioOutputProcesses.h"

namespace vimbo::linuxdesktop {

// The clients of the sound server (PulseAudio, or PipeWire's pulse server) with a playback stream that
// is running, not paused.
class PulseAudioOutputProcesses : public platform::AudioOutputProcesses {
  public:
    // "vimbo.music": connects for each call and lets go afterwards, so nothing stays open between polls.
    std::vector<std::int32_t> producingOutput() override;
};

} // namespace vimbo::linuxdesktop
