#include "tools/analyze/AnalyzeOptions.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace vimbo::tools {

const char* const kAnalyzeUsage =
    R"(Usage: vimbo-analyze FILE [--input systemAudio|microphone] [--sensitivity X] [--block N]

Runs the audio analysis over FILE (any format libsndfile reads: WAV, FLAC, Ogg, MP3, ...; any channel
count) as the application does 60 times a second, and prints one feature script line per tick:
  __a(level,bass,mid,treble,energy,beat,[24 spectrum values])

The 60 Hz tick is simulated exactly: capture is active from the start; for tick k = 1, 2, ... every
frame with index below floor(k * rate / 60) not yet ingested is ingested, in interleaved 32-bit float
blocks of at most N frames with the file's channel count and sample rate, then the analysis runs with
now = k / 60 seconds and its line is printed. The last tick is floor(frames * 60 / rate).

Options:
  --input systemAudio|microphone  source the samples are attributed to (default systemAudio);
                                  microphone input goes through the noise gate and the sensitivity
  --sensitivity X                 microphone sensitivity, clamped to 0.125...8 (not a finite
                                  number: 1); default 1
  --block N                       frames per ingested block, 1...65536 (default 512)
  --help                          show this text

Exit status: 0 on success; 2 for a bad option or a file that cannot be read (one line on stderr).
)";

namespace {

std::optional<std::size_t> parseBlock(std::string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    std::size_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    if (value < 1 || value > AnalyzeOptions::kMaxBlock) return std::nullopt;
    return value;
}

std::optional<float> parseSensitivity(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return value; // out-of-range values are clamped later, like any other value
}

} // namespace

std::variant<AnalyzeOptions, OptionError> parseAnalyzeOptions(std::span<const char* const> arguments) {
    AnalyzeOptions options;
    bool haveFile = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            if (haveFile) return OptionError{"more than one FILE given: " + std::string(argument)};
            options.file = argument;
            haveFile = true;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        if (name != "--input" && name != "--sensitivity" && name != "--block")
            return OptionError{"unknown option " + std::string(argument)};
        std::string value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return OptionError{"option " + std::string(name) + " needs a value"};
        }
        if (name == "--input") {
            const auto input = audio::audioInputFromRaw(value);
            if (!input)
                return OptionError{"--input must be systemAudio or microphone, not \"" + value + "\""};
            options.input = *input;
        } else if (name == "--sensitivity") {
            const auto sensitivity = parseSensitivity(value);
            if (!sensitivity) return OptionError{"--sensitivity needs a number, not \"" + value + "\""};
            options.sensitivity = *sensitivity;
        } else {
            const auto block = parseBlock(value);
            if (!block)
                return OptionError{"--block needs a whole number from 1 to 65536, not \"" + value + "\""};
            options.block = *block;
        }
    }
    if (!options.help && !haveFile) return OptionError{"no FILE given"};
    return options;
}

} // namespace vimbo::tools
