#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>

namespace vimbo::tools {

struct IconOptions {
    std::string features; // feature lines file, "-" for standard input, empty: built-in stream
    std::string outputDirectory = ".";
    std::optional<double> at; // seconds into the stream; the last frame when absent
    int scale = 2;            // pixels per point
    std::string sheet;        // the three skins side by side, light and dark panel
    bool help = false;
};

struct IconOptionError {
    std::string message;
};

extern const char* const kIconUsage;

std::variant<IconOptions, IconOptionError> parseIconOptions(std::span<const char* const> arguments);

} // namespace vimbo::tools
