#include "core/audio/AudioCaptureError.h"

namespace vimbo::audio {

namespace {

const char* caseName(AudioCaptureError::Kind kind) {
    switch (kind) {
    case AudioCaptureError::Kind::tapCreationFailed:
        return "tapCreationFailed";
    case AudioCaptureError::Kind::aggregateCreationFailed:
        return "aggregateCreationFailed";
    case AudioCaptureError::Kind::ioProcFailed:
        return "ioProcFailed";
    case AudioCaptureError::Kind::formatUnavailable:
        return "formatUnavailable";
    case AudioCaptureError::Kind::noOutputDevice:
        return "noOutputDevice";
    case AudioCaptureError::Kind::engineStartFailed:
        return "engineStartFailed";
    case AudioCaptureError::Kind::noInputDevice:
        return "noInputDevice";
    }
    return "unknown";
}

} // namespace

std::string describe(const AudioCaptureError& error) {
    std::string text = caseName(error.kind);
    switch (error.kind) {
    case AudioCaptureError::Kind::tapCreationFailed:
    case AudioCaptureError::Kind::aggregateCreationFailed:
    case AudioCaptureError::Kind::ioProcFailed:
        return text + "(" + std::to_string(error.status) + ")";
    case AudioCaptureError::Kind::engineStartFailed:
        return text + "(" + std::to_string(error.status) + ": " + error.message + ")";
    case AudioCaptureError::Kind::formatUnavailable:
    case AudioCaptureError::Kind::noOutputDevice:
    case AudioCaptureError::Kind::noInputDevice:
        break;
    }
    return text;
}

} // namespace vimbo::audio
