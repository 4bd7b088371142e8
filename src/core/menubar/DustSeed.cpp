#include "core/menubar/DustSeed.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace vimbo::menubar {

std::vector<DustSeed> generateDustSeeds() {
    std::uint64_t state = 0x6A4C2026ULL;
    auto next = [&state] {
        state = state * 0x5851F42D4C957F2DULL + 0x14057B7EF767814FULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0; // 2^53
    };
    std::vector<DustSeed> seeds;
    seeds.reserve(kDustSeedCount);
    for (int n = 0; n < kDustSeedCount; ++n) {
        bool shell = n < kDustShellSeedCount;
        double u = 2 * next() - 1;
        double theta = 2 * std::numbers::pi * next();
        double r = next();
        double rho = shell ? 0.88 + 0.12 * r : std::sqrt(r);
        double size = 0.25 + 0.25 * next();
        double phase = 2 * std::numbers::pi * next();
        double k = std::sqrt(std::max(0.0, 1 - u * u));
        seeds.push_back({std::cos(theta) * k * rho, u * rho, std::sin(theta) * k * rho, size, phase, shell});
    }
    return seeds;
}

} // namespace vimbo::menubar
