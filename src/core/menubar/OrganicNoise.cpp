#include "core/menubar/OrganicNoise.h"

#include <cmath>

namespace vimbo::menubar {

double OrganicNoise::lattice(std::int64_t cell) const {
    std::uint64_t z = seed_ * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(cell);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z = z ^ (z >> 31);
    double u = static_cast<double>(z >> 11) / 9007199254740992.0; // 2^53
    return 2 * u - 1;
}

double OrganicNoise::value(double x) const {
    // Only the renderer's finite, modest inputs are expected; anything a cell index cannot hold
    // (or its successor) reads as 0 rather than converting out of range.
    if (!(std::fabs(x) < 9.0e18)) x = 0;
    double floored = std::floor(x);
    auto i = static_cast<std::int64_t>(floored);
    double t = x - floored;
    double a = lattice(i);
    // Wrapping add: the cell after INT64_MAX is INT64_MIN, as in unsigned arithmetic.
    double b = lattice(static_cast<std::int64_t>(static_cast<std::uint64_t>(i) + 1));
    double fade = t * t * t * (t * (6 * t - 15) + 10);
    return a + fade * (b - a);
}

} // namespace vimbo::menubar
