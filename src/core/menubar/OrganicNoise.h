#pragma once

#include <cstdint>

namespace vimbo::menubar {

// Seeded one-octave value noise: SplitMix64 lattice values in [-1, 1) joined by a quintic fade.
class OrganicNoise {
  public:
    explicit constexpr OrganicNoise(std::uint64_t seed) : seed_(seed) {}

    std::uint64_t seed() const { return seed_; }
    // Pure; an integer input gives the lattice value of that cell itself.
    double value(double x) const;

  private:
    double lattice(std::int64_t cell) const;

    std::uint64_t seed_;
};

} // namespace vimbo::menubar
