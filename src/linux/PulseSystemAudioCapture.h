#pragma once

#include "linux/PulseCapture.h"

namespace vimbo::linuxdesktop {

// Records everything the computer plays: the monitor of the current default sink. The monitor is
// looked up explicitly; "@DEFAULT_MONITOR@" can resolve to the microphone on PipeWire.
class PulseSystemAudioCapture final : public PulseCapture {
  public:
    PulseSystemAudioCapture() : PulseCapture(audio::AudioInput::systemAudio) {}

  private:
    std::variant<std::string, audio::AudioCaptureError> resolveDevice(const PulseContext& context) override;
    audio::AudioCaptureError noServer(int code) const override;
    audio::AudioCaptureError unusableFormat() const override;
    audio::AudioCaptureError streamFailed(StreamFailure stage, int code) const override;
};

} // namespace vimbo::linuxdesktop
