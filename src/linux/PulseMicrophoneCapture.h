#pragma once

#include "core/audio/AudioCaptureLifecycleGate.h"
#include "linux/PulseCapture.h"

namespace vimbo::linuxdesktop {

// Records the current default source. Its callbacks pass the lifecycle gate, which is drained before
// the stream goes away.
class PulseMicrophoneCapture final : public PulseCapture {
  public:
    PulseMicrophoneCapture() : PulseCapture(audio::AudioInput::microphone) {}
    ~PulseMicrophoneCapture() override { stop(); }

  private:
    std::variant<std::string, audio::AudioCaptureError> resolveDevice(const PulseContext& context) override;
    audio::AudioCaptureError noServer(int code) const override;
    audio::AudioCaptureError unusableFormat() const override;
    audio::AudioCaptureError streamFailed(StreamFailure stage, int code) const override;
    void deliver(const void* data, std::size_t bytes) override;
    void opening() override { lifecycleGate_.open(); }
    void closing() override { lifecycleGate_.closeAndDrain(); }

    audio::AudioCaptureLifecycleGate lifecycleGate_;
};

} // namespace vimbo::linuxdesktop
