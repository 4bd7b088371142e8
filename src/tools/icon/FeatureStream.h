#pragma once

#include "core/audio/AudioFeatures.h"

#include <istream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vimbo::tools {

struct FeatureStreamError {
    std::string message;
};

// One line as vimbo-analyze prints it ("__a(level,bass,mid,treble,energy,beat,[spectrum])"), or the
// same without "__a(" and ")"; the spectrum (up to 24 bands) may be left out. Nothing for a line that
// is neither.
std::optional<audio::AudioFeatures> parseFeatureLine(const std::string& line);

// Every line of the stream, one frame each; blank lines are skipped, any other bad line is an error.
std::variant<std::vector<audio::AudioFeatures>, FeatureStreamError> readFeatureStream(std::istream& in);

// Four seconds at 60 frames a second: a beat every half second with a bass thump, a slow swell of
// level and some treble shimmer.
std::vector<audio::AudioFeatures> syntheticFeatureStream();

} // namespace vimbo::tools
