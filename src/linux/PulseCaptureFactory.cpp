#include "linux/PulseCaptureFactory.h"

#include "linux/PulseMicrophoneCapture.h"
#include "linux/PulseSystemAudioCapture.h"

namespace vimbo::linuxdesktop {

audio::AudioInputController::CaptureFactory pulseCaptureFactory() {
    return [](audio::AudioInput input) -> std::shared_ptr<audio::AudioCapturing> {
        if (input == audio::AudioInput::microphone) return std::make_shared<PulseMicrophoneCapture>();
        return std::make_shared<PulseSystemAudioCapture>();
    };
}

} // namespace vimbo::linuxdesktop
