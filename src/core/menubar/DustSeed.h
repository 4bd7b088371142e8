#pragma once

#include <vector>

namespace vimbo::menubar {

// One fixed point of the dust cloud, in the unit ball.
struct DustSeed {
    double x = 0;
    double y = 0;
    double z = 0;
    double size = 0;  // 0.25...0.5
    double phase = 0; // 0...2pi
    bool shell = false;
};

inline constexpr int kDustSeedCount = 200;
inline constexpr int kDustShellSeedCount = 120;

// The 200 seeds from one 64-bit LCG: the first 120 on a thin outer shell, the rest inside.
std::vector<DustSeed> generateDustSeeds();

} // namespace vimbo::menubar
