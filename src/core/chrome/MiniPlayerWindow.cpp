#include "core/chrome/MiniPlayerWindow.h"

#include <algorithm>

namespace vimbo::chrome {
namespace {

double clampedStart(double start, double length, double boundStart, double boundLength) {
    return std::min(std::max(boundStart, boundStart + boundLength - length), std::max(start, boundStart));
}

} // namespace

platform::Rect MiniPlayerWindow::clamped(const platform::Rect& rect, const platform::Rect& within) {
    return {clampedStart(rect.x, rect.width, within.x, within.width),
            clampedStart(rect.y, rect.height, within.y, within.height), rect.width, rect.height};
}

platform::Rect MiniPlayerWindow::placement(std::optional<Point> anchor, const platform::Rect& mainFrame,
                                           const platform::Rect& frameSize, const platform::Rect& workArea) {
    Point topLeft =
        anchor.value_or(Point{mainFrame.x + mainFrame.width - frameSize.width - kFirstPlacementInset,
                              mainFrame.y + mainFrame.height - frameSize.height - kFirstPlacementInset});
    return clamped({topLeft.x, topLeft.y, frameSize.width, frameSize.height}, workArea);
}

} // namespace vimbo::chrome
