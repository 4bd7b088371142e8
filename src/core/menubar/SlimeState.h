#pragma once

#include "core/menubar/OrganicNoise.h"
#include "core/menubar/Spring.h"

#include <array>
#include <cstdint>

namespace vimbo::menubar {

// The wobbling blob: ten radius springs around the centre and one squash spring.
struct SlimeState {
    static constexpr int kPointCount = 10;

    std::array<Spring, kPointCount> radii = makeRadii();
    Spring squash{0, 0, 55, 4.5};
    std::array<OrganicNoise, kPointCount> pointNoise = makePointNoise();

  private:
    static constexpr std::array<Spring, kPointCount> makeRadii() {
        std::array<Spring, kPointCount> springs{};
        for (auto& spring : springs)
            spring = {7.6, 0, 70, 9};
        return springs;
    }
    template <std::size_t... k>
    static constexpr std::array<OrganicNoise, kPointCount> makePointNoise(std::index_sequence<k...>) {
        return {OrganicNoise(5315296 + 977 * std::uint64_t{k})...};
    }
    static constexpr std::array<OrganicNoise, kPointCount> makePointNoise() {
        return makePointNoise(std::make_index_sequence<kPointCount>{});
    }
};

} // namespace vimbo::menubar
