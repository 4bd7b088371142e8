#pragma once

#include "core/menubar/OrganicNoise.h"
#include "core/menubar/Spring.h"

namespace vimbo::menubar {

// The dust cloud's breathing pulse and the two noises that shimmer its dots.
struct DustState {
    Spring pulse{0, 0, 60, 4.5};
    OrganicNoise drift{885239};
    OrganicNoise surf{6270178};
};

} // namespace vimbo::menubar
