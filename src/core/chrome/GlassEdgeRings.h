#pragma once

#include <vector>

namespace vimbo::chrome {

// One ring of the glass window's rim: the band between the window's rounded rectangle (corner radius
// 16) inset by `outerInset` and by `outerInset + 1`, filled with a white (highlight) or black (shadow)
// gradient from the top-left corner to the bottom-right one.
struct GlassEdgeRing {
    struct Stop {
        double location;
        double alpha;
    };

    double outerInset;
    bool white;
    Stop stops[3];
};

inline constexpr double kGlassCornerRadius = 16;

// The rim of a window of the given size: sixteen highlight rings fading inwards (28 % weaker from the
// sixth on in the dark appearance), then four inner shadow rings toward the bottom-right. None when
// either side is 32 or less.
std::vector<GlassEdgeRing> glassEdgeRings(double width, double height, bool dark);

} // namespace vimbo::chrome
