#pragma once

#include "core/util/EnumTable.h"

#include <array>
#include <string_view>

namespace vimbo::audio {

// What the page is told about capture.
enum class AudioCaptureStatus {
    connected,
    systemAudioPermissionNeeded,
    microphonePermissionNeeded,
    microphoneUnavailable,
};

struct AudioCaptureStatusRow {
    AudioCaptureStatus value;
    std::string_view raw; // the text the page gets
};

inline constexpr std::array<AudioCaptureStatusRow, 4> kAudioCaptureStatuses{{
    {AudioCaptureStatus::connected, "ok"},
    {AudioCaptureStatus::systemAudioPermissionNeeded, "waiting-system-permission"},
    {AudioCaptureStatus::microphonePermissionNeeded, "waiting-microphone-permission"},
    {AudioCaptureStatus::microphoneUnavailable, "microphone-unavailable"},
}};
static_assert(util::inEnumOrder(kAudioCaptureStatuses) &&
              kAudioCaptureStatuses.back().value == AudioCaptureStatus::microphoneUnavailable);

constexpr std::string_view statusString(AudioCaptureStatus status) {
    return util::rowOf(kAudioCaptureStatuses, status).raw;
}

// Which default device the system changed.
enum class AudioDeviceChange { defaultInput, defaultOutput };

} // namespace vimbo::audio
