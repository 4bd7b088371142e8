#include "tools/icon/FeatureStream.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vimbo::tools {

namespace {

// One number at `cursor`, moved past it. Features are 0...1 by contract; what a hand-made file might
// hold outside that is clamped.
bool readUnit(const char*& cursor, float& out) {
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(cursor, &end);
    if (end == cursor || errno != 0 || !std::isfinite(value)) return false;
    out = static_cast<float>(std::clamp(value, 0.0, 1.0));
    cursor = end;
    return true;
}

// "[v,v,...]" with at most one value per band; missing bands stay 0 as on the page.
bool readSpectrum(const char*& cursor, std::array<float, audio::kSpectrumBands>& spectrum) {
    if (*cursor++ != '[') return false;
    for (std::size_t band = 0; *cursor != ']'; ++band) {
        if (band == spectrum.size() || (band > 0 && *cursor++ != ',') || !readUnit(cursor, spectrum[band]))
            return false;
    }
    ++cursor;
    return true;
}

} // namespace

std::optional<audio::AudioFeatures> parseFeatureLine(const std::string& line) {
    const char* cursor = line.c_str();
    constexpr std::string_view prefix = "__a(";
    const bool call = std::string_view(line).starts_with(prefix);
    if (call) cursor += prefix.size();
    audio::AudioFeatures features;
    for (float* value : {&features.level, &features.bass, &features.mid, &features.treble, &features.energy,
                         &features.beat}) {
        if (value != &features.level && *cursor++ != ',') return std::nullopt;
        if (!readUnit(cursor, *value)) return std::nullopt;
    }
    if (*cursor == ',') {
        ++cursor;
        if (!readSpectrum(cursor, features.spectrum)) return std::nullopt;
    }
    if (call && *cursor++ != ')') return std::nullopt;
    if (*cursor == '\r') ++cursor;
    if (*cursor != '\0') return std::nullopt;
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
