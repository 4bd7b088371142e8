#pragma once

#include <optional>
#include <string_view>

namespace vimbo::audio {

// The capture source; crosses the page and the defaults file as its raw text.
enum class AudioInput { systemAudio, microphone };

constexpr std::string_view rawValue(AudioInput input) {
    return input == AudioInput::microphone ? "microphone" : "systemAudio";
}

// Exact, case-sensitive match of the raw text; anything else is no input.
constexpr std::optional<AudioInput> audioInputFromRaw(std::string_view text) {
    if (text == "systemAudio") return AudioInput::systemAudio;
    if (text == "microphone") return AudioInput::microphone;
    return std::nullopt;
}

} // namespace vimbo::audio
