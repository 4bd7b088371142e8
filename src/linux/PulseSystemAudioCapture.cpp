#include "linux/PulseSystemAudioCapture.h"

namespace vimbo::linuxdesktop {

using audio::AudioCaptureError;
using Kind = AudioCaptureError::Kind;

std::variant<std::string, AudioCaptureError>
PulseSystemAudioCapture::resolveDevice(const PulseContext& context) {
    auto defaults = context.serverDefaults();
    if (!defaults || !defaults->sinkName) return AudioCaptureError::plain(Kind::noOutputDevice);
    auto monitor = context.monitorSourceOf(*defaults->sinkName);
    if (!monitor) return AudioCaptureError::plain(Kind::noOutputDevice);
    return *monitor;
}

AudioCaptureError PulseSystemAudioCapture::noServer(int) const {
    return AudioCaptureError::plain(Kind::noOutputDevice);
}

AudioCaptureError PulseSystemAudioCapture::unusableFormat() const {
    return AudioCaptureError::plain(Kind::formatUnavailable);
}

AudioCaptureError PulseSystemAudioCapture::streamFailed(StreamFailure stage, int code) const {
    return AudioCaptureError::withStatus(
        stage == StreamFailure::creation ? Kind::tapCreationFailed : Kind::ioProcFailed, code);
}

} // namespace vimbo::linuxdesktop
