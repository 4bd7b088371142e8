#include "core/chrome/MiniLightGeometry.h"

#include <algorithm>

namespace vimbo::chrome {
namespace {

platform::Rect united(const platform::Rect& a, const platform::Rect& b) {
    double left = std::min(a.x, b.x);
    double top = std::min(a.y, b.y);
    double right = std::max(a.x + a.width, b.x + b.width);
    double bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

} // namespace

std::optional<platform::Rect> MiniLightGeometry::frame(const std::vector<platform::Rect>& standardButtons) {
    if (standardButtons.size() < 2) return std::nullopt;
    double spacing = standardButtons[1].x - standardButtons[0].x;
    if (spacing <= 0) return std::nullopt;
    platform::Rect last = standardButtons.back();
    last.x += spacing;
    return last;
}

platform::Rect MiniLightGeometry::rowRect(const std::vector<platform::Rect>& standardButtons,
                                          const platform::Rect& mini) {
    platform::Rect row = mini;
    for (const auto& button : standardButtons)
        row = united(row, button);
    return row;
}

} // namespace vimbo::chrome
