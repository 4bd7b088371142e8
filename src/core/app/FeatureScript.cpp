#include "core/app/FeatureScript.h"

#include <charconv>

namespace vimbo::app {
namespace {

// Runs sixty times a second: std::to_chars rounds exactly like "%.3f" but skips printf's format
// parsing and locale, which was most of the tick's own cost.
void appendFixed(std::string& script, float value, int decimals) {
    char number[64]; // fixed notation of the largest float: sign, 39 digits, point, decimals
    auto end = std::to_chars(number, number + sizeof number, static_cast<double>(value),
                             std::chars_format::fixed, decimals)
                   .ptr;
    script.append(number, end);
}

} // namespace

std::string featureScript(const audio::AudioFeatures& features) {
    return featureScript(features.level, features.bass, features.mid, features.treble, features.energy,
                         features.beat, features.spectrum);
}

std::string featureScript(float level, float bass, float mid, float treble, float energy, float beat,
                          std::span<const float> spectrum) {
    std::string script;
    script.reserve(64 + 8 * spectrum.size());
    script += "__a(";
    for (float value : {level, bass, mid, treble, energy}) {
        appendFixed(script, value, 3);
        script += ',';
    }
    appendFixed(script, beat, 2);
    script += ",[";
    for (std::size_t i = 0; i < spectrum.size(); ++i) {
        if (i > 0) script += ',';
        appendFixed(script, spectrum[i], 3);
    }
    script += "])";
    return script;
}

} // namespace vimbo::app
