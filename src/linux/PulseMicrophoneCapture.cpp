#include "linux/PulseMicrophoneCapture.h"

namespace vimbo::linuxdesktop {

using audio::AudioCaptureError;
using Kind = AudioCaptureError::Kind;

std::variant<std::string, AudioCaptureError>
PulseMicrophoneCapture::resolveDevice(const PulseContext& context) {
    auto defaults = context.serverDefaults();
    if (!defaults || !defaults->sourceName) return AudioCaptureError::plain(Kind::noInputDevice);
    return *defaults->sourceName;
}

AudioCaptureError PulseMicrophoneCapture::noServer(int) const {
    return AudioCaptureError::plain(Kind::noInputDevice);
}

AudioCaptureError PulseMicrophoneCapture::unusableFormat() const {
    return AudioCaptureError::plain(Kind::noInputDevice);
}

AudioCaptureError PulseMicrophoneCapture::streamFailed(StreamFailure, int code) const {
    return AudioCaptureError{Kind::engineStartFailed, code, pa_strerror(code)};
}

void PulseMicrophoneCapture::deliver(const void* data, std::size_t bytes) {
    lifecycleGate_.withAcceptedCallback([&] { ingest(data, bytes); });
}

} // namespace vimbo::linuxdesktop
