#include "tools/icon/IconOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vimbo::tools {

const char* const kIconUsage =
    "usage: vimbo-icon [options] [FEATURES]\n"
    "Renders the three tray icon skins (slime, dust, dandelion) as the running application would after\n"
    "the given feature stream, and writes slime.png, dust.png and dandelion.png.\n"
    "  FEATURES       feature lines as vimbo-analyze prints them, one per 1/60 s (\"-\": standard\n"
    "                 input); without it, a built-in stream: 4 s of a beat at 120 a minute\n"
    "  --out DIR      where the three pictures go (default: .)\n"
    "  --at SECONDS   the frame at this time instead of the last one\n"
    "  --scale N      pixels per point, 1 to 16 (default 2: 36 x 36 pixels)\n"
    "  --sheet FILE   also write the three side by side, on a light and on a dark panel\n"
    "  --help         this text\n";

namespace {

std::optional<double> number(const char* text) {
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

std::variant<IconOptions, IconOptionError> parseIconOptions(std::span<const char* const> arguments) {
    IconOptions options;
    bool haveFeatures = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        auto value = [&]() -> const char* { return i + 1 < arguments.size() ? arguments[++i] : nullptr; };
        if (argument == "--help") {
            options.help = true;
        } else if (argument == "--out") {
            const char* dir = value();
            if (!dir) return IconOptionError{"--out needs a directory"};
            options.outputDirectory = dir;
        } else if (argument == "--at") {
            const char* text = value();
            auto seconds = text ? number(text) : std::nullopt;
            if (!seconds || *seconds < 0) return IconOptionError{"--at needs a time in seconds, 0 or more"};
            options.at = seconds;
        } else if (argument == "--scale") {
            const char* text = value();
            auto scale = text ? number(text) : std::nullopt;
            if (!scale || *scale < 1 || *scale > 16 || std::floor(*scale) != *scale)
                return IconOptionError{"--scale needs a whole number from 1 to 16"};
            options.scale = static_cast<int>(*scale);
        } else if (argument == "--sheet") {
            const char* file = value();
            if (!file) return IconOptionError{"--sheet needs a file name"};
            options.sheet = file;
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
            return IconOptionError{"unknown option " + argument};
        } else if (haveFeatures) {
            return IconOptionError{"only one feature stream can be given"};
        } else {
            options.features = argument;
            haveFeatures = true;
        }
    }
    return options;
}

} // namespace vimbo::tools
