#pragma once

#include <cstdint>
#include <string>

namespace vimbo::audio {

// Why a capture back-end could not start. Status payloads carry the sound server's error code
// unchanged; `engineStartFailed` also carries the server's own text for it.
struct AudioCaptureError {
    enum class Kind {
        tapCreationFailed,       // status: the system-audio record stream could not be created
        aggregateCreationFailed, // status
        ioProcFailed,            // status: the system-audio stream could not be connected or started
        formatUnavailable,       // the output's sample format is unusable
        noOutputDevice,          // no sound server or no default output
        engineStartFailed,       // status + message: the microphone stream could not be started
        noInputDevice,           // no sound server, no default input or an unusable input format
    };

    Kind kind;
    std::int32_t status = 0;
    std::string message;

    static AudioCaptureError withStatus(Kind kind, std::int32_t status) { return {kind, status, {}}; }
    static AudioCaptureError plain(Kind kind) { return {kind, 0, {}}; }

    friend bool operator==(const AudioCaptureError&, const AudioCaptureError&) = default;
};

// The case name and its payload, as in "ioProcFailed(6)" or "engineStartFailed(6: Connection refused)".
std::string describe(const AudioCaptureError& error);

} // namespace vimbo::audio
