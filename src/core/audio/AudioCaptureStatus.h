#pragma once

#include <string_view>

namespace vimbo::audio {

// What the page is told about capture.
enum class AudioCaptureStatus {
    connected,
    systemAudioPermissionNeeded,
    microphonePermissionNeeded,
    microphoneUnavailable,
};

constexpr std::string_view statusString(AudioCaptureStatus status) {
    switch (status) {
    case AudioCaptureStatus::connected:
        return "ok";
    case AudioCaptureStatus::systemAudioPermissionNeeded:
        return "waiting-system-permission";
    case AudioCaptureStatus::microphonePermissionNeeded:
        return "waiting-microphone-permission";
    case AudioCaptureStatus::microphoneUnavailable:
        return "microphone-unavailable";
    }
    return "ok";
}

// Which default device the system changed.
enum class AudioDeviceChange { defaultInput, defaultOutput };

} // namespace vimbo::audio
