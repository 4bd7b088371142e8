#include "core/chrome/MiniZoomFrame.h"

#include <algorithm>

namespace vimbo::chrome {
namespace {

double clampedStart(double start, double length, double boundStart, double boundLength) {
    return std::min(std::max(boundStart, boundStart + boundLength - length), std::max(start, boundStart));
}

} // namespace

platform::Rect miniZoomFrame(const platform::Rect& current, const platform::Rect& workArea) {
    constexpr double kZoomedSide = 340;
    return {clampedStart(current.x, kZoomedSide, workArea.x, workArea.width),
            clampedStart(current.y, kZoomedSide, workArea.y, workArea.height), kZoomedSide, kZoomedSide};
}

} // namespace vimbo::chrome
