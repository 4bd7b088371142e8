#include "core/chrome/GlassEdgeRings.h"

#include <array>

namespace vimbo::chrome {
namespace {

constexpr std::array<double, 16> kHighlightAlphas{0.38,  0.24,  0.15,  0.10,  0.072, 0.054, 0.041, 0.031,
                                                  0.024, 0.020, 0.017, 0.014, 0.012, 0.010, 0.008, 0.006};
constexpr std::array<double, 4> kShadowAlphas{0.06, 0.045, 0.025, 0.012};

} // namespace

std::vector<GlassEdgeRing> glassEdgeRings(double width, double height, bool dark) {
    std::vector<GlassEdgeRing> rings;
    if (width <= 32 || height <= 32) return rings;
    for (std::size_t i = 0; i < kHighlightAlphas.size(); ++i) {
        double a = kHighlightAlphas[i] * (dark && i >= 5 ? 0.72 : 1.0);
        if (a <= 0) continue;
        rings.push_back({i + 0.5, true, {{0, a}, {0.5, a * 0.46}, {1.0, a * 0.32}}});
    }
    for (std::size_t j = 0; j < kShadowAlphas.size(); ++j) {
        rings.push_back({j + 0.5, false, {{0, 0}, {0.48, 0}, {1.0, kShadowAlphas[j]}}});
    }
    return rings;
}

} // namespace vimbo::chrome
