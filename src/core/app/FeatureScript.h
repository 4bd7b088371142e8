#pragma once

#include "core/audio/AudioFeatures.h"

#include <span>
#include <string>

namespace vimbo::app {

// The page's per-frame call: "__a(" + six scalars + ",[" + spectrum + "])".
std::string featureScript(const audio::AudioFeatures& features);
// The same text for any spectrum length (an empty spectrum gives ",[])").
std::string featureScript(float level, float bass, float mid, float treble, float energy, float beat,
                          std::span<const float> spectrum);

} // namespace vimbo::app
