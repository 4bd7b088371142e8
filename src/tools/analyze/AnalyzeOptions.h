#pragma once

#include "core/audio/AudioInput.h"

#include <cstddef>
#include <span>
#include <string>
#include <variant>

namespace vimbo::tools {

// The command line of vimbo-analyze.
struct AnalyzeOptions {
    std::string file;
    audio::AudioInput input = audio::AudioInput::systemAudio;
    float sensitivity = 1.0f;
    std::size_t block = 512;
    bool help = false;

    static constexpr std::size_t kMaxBlock = 65536;
};

// Why a command line was refused: one line for stderr.
struct OptionError {
    std::string message;
};

// Options may come before or after FILE, as "--name value" or "--name=value"; "--" ends the options.
std::variant<AnalyzeOptions, OptionError> parseAnalyzeOptions(std::span<const char* const> arguments);

extern const char* const kAnalyzeUsage;

} // namespace vimbo::tools
