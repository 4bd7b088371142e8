#include "tools/icon/FeatureStream.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vimbo::tools {

std::optional<audio::AudioFeatures> parseFeatureLine(const std::string& line) {
    std::string_view text = line;
    constexpr std::string_view prefix = "__a(";
    if (text.starts_with(prefix)) text.remove_prefix(prefix.size());
    std::string numbers(text);
    float values[6] = {};
    const char* cursor = numbers.c_str();
    for (int i = 0; i < 6; ++i) {
        errno = 0;
        char* end = nullptr;
        double value = std::strtod(cursor, &end);
        if (end == cursor || errno != 0 || !std::isfinite(value)) return std::nullopt;
        // Features are 0...1 by contract; clamp what a hand-made file might hold.
        values[i] = static_cast<float>(std::clamp(value, 0.0, 1.0));
        cursor = end;
        if (i < 5) {
            if (*cursor != ',') return std::nullopt;
            ++cursor;
        }
    }
    if (*cursor != '\0' && *cursor != ',' && *cursor != '\r') return std::nullopt;
    audio::AudioFeatures features;
    features.level = values[0];
    features.bass = values[1];
    features.mid = values[2];
    features.treble = values[3];
    features.energy = values[4];
    features.beat = values[5];
    return features;
}

std::variant<std::vector<audio::AudioFeatures>, FeatureStreamError> readFeatureStream(std::istream& in) {
    std::vector<audio::AudioFeatures> frames;
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        auto features = parseFeatureLine(line);
        if (!features) return FeatureStreamError{"line " + std::to_string(number) + " is not a feature line"};
        frames.push_back(*features);
    }
    if (in.bad()) return FeatureStreamError{"the feature stream could not be read"};
    return frames;
}

std::vector<audio::AudioFeatures> syntheticFeatureStream() {
    std::vector<audio::AudioFeatures> frames;
    for (int k = 1; k <= 240; ++k) {
        double t = k / 60.0;
        double sinceBeat = std::fmod(t, 0.5);
        audio::AudioFeatures f;
        f.bass = static_cast<float>(0.85 * std::exp(-7 * sinceBeat));
        f.level = static_cast<float>(0.35 + 0.2 * std::sin(t * 1.7) + 0.25 * f.bass);
        f.mid = static_cast<float>(0.4 + 0.2 * std::sin(t * 5.3));
        f.treble = static_cast<float>(0.3 + 0.25 * std::sin(t * 13.1) * std::sin(t * 2.1));
        f.energy = (f.level + f.bass + f.mid) / 3;
        f.beat = sinceBeat < 1.0 / 60.0 ? 1.0f : 0.0f;
        frames.push_back(f);
    }
    return frames;
}

} // namespace vimbo::tools
