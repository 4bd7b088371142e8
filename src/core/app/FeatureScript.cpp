#include "core/app/FeatureScript.h"

#include <cstdio>

namespace vimbo::app {

std::string featureScript(const audio::AudioFeatures& features) {
    return featureScript(features.level, features.bass, features.mid, features.treble, features.energy,
                         features.beat, features.spectrum);
}

std::string featureScript(float level, float bass, float mid, float treble, float energy, float beat,
                          std::span<const float> spectrum) {
    // A float printed with "%.3f" takes at most 44 characters (sign, 39 digits, point, 3 decimals).
    char line[6 * 45 + 8];
    std::snprintf(line, sizeof line, "%.3f,%.3f,%.3f,%.3f,%.3f,%.2f", static_cast<double>(level),
                  static_cast<double>(bass), static_cast<double>(mid), static_cast<double>(treble),
                  static_cast<double>(energy), static_cast<double>(beat));
    std::string script = "__a(";
    script += line;
    script += ",[";
    char number[48];
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        std::snprintf(number, sizeof number, i == 0 ? "%.3f" : ",%.3f", static_cast<double>(spectrum[i]));
        script += number;
    }
    script += "])";
    return script;
}

} // namespace vimbo::app
