#pragma once

#include "core/menubar/OrganicNoise.h"
#include "core/menubar/Spring.h"

#include <array>

namespace vimbo::menubar {

// Two layers of swaying strands and a puff spring that lengthens them all on a beat.
struct DandelionState {
    static constexpr int kThinCount = 30;
    static constexpr int kThickCount = 19;

    std::array<Spring, kThinCount> thinSway = swaySprings<kThinCount>();
    std::array<Spring, kThickCount> thickSway = swaySprings<kThickCount>();
    Spring puff{0, 0, 80, 4.5};
    OrganicNoise wind{14306785};
    OrganicNoise flutter{15796094};
    OrganicNoise length{1984116};
    OrganicNoise spike{5840101};

  private:
    template <int count> static constexpr std::array<Spring, count> swaySprings() {
        std::array<Spring, count> springs{};
        for (auto& spring : springs)
            spring = {0, 0, 30, 3.5};
        return springs;
    }
};

} // namespace vimbo::menubar
