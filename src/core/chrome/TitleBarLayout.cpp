#include "core/chrome/TitleBarLayout.h"

#include <algorithm>

namespace vimbo::chrome {
namespace {

constexpr double kButtonSize = 14;
constexpr double kPitch = 20;
constexpr double kEdgeMargin = 12;
constexpr double kBarHeight = 36;

bool contains(const platform::Rect& r, double x, double y) {
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}

platform::Rect unite(const platform::Rect& a, const platform::Rect& b) {
    double left = std::min(a.x, b.x);
    double top = std::min(a.y, b.y);
    double right = std::max(a.x + a.width, b.x + b.width);
    double bottom = std::max(a.y + a.height, b.y + b.height);
    return {left, top, right - left, bottom - top};
}

} // namespace

TitleBarSide titleBarSide(std::string_view decorationLayout) {
    std::size_t close = decorationLayout.find("close");
    if (close == std::string_view::npos) return TitleBarSide::right;
    return close < decorationLayout.find(':') ? TitleBarSide::left : TitleBarSide::right;
}

TitleBarButtonFrames TitleBarButtonFrames::in(double barWidth, TitleBarSide side) {
    auto frame = [&](int index) {
        double fromEdge = kEdgeMargin + index * kPitch;
        double x = side == TitleBarSide::left ? fromEdge : barWidth - fromEdge - kButtonSize;
        return platform::Rect{x, (kBarHeight - kButtonSize) / 2, kButtonSize, kButtonSize};
    };
    return {frame(0), frame(1), frame(2), frame(3)};
}

const platform::Rect& TitleBarButtonFrames::operator[](TitleBarButton button) const {
    switch (button) {
    case TitleBarButton::close:
        return close;
    case TitleBarButton::minimize:
        return minimize;
    case TitleBarButton::zoom:
        return zoom;
    case TitleBarButton::miniLight:
        break;
    }
    return miniLight;
}

platform::Rect TitleBarButtonFrames::row(bool withMiniLight) const {
    platform::Rect row = unite(unite(close, minimize), zoom);
    return withMiniLight ? unite(row, miniLight) : row;
}

std::optional<TitleBarButton> TitleBarButtonFrames::buttonAt(double x, double y, bool withMiniLight) const {
    for (auto button : {TitleBarButton::close, TitleBarButton::minimize, TitleBarButton::zoom}) {
        if (contains((*this)[button], x, y)) return button;
    }
    if (withMiniLight && contains(miniLight, x, y)) return TitleBarButton::miniLight;
    return std::nullopt;
}

} // namespace vimbo::chrome
