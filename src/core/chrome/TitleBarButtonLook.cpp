#include "core/chrome/TitleBarButtonLook.h"

#include <cmath>

namespace vimbo::chrome {
namespace {

Rgb towardBlack(const Rgb& colour, double fraction) {
    double keep = 1.0 - fraction;
    return {colour.red * keep, colour.green * keep, colour.blue * keep};
}

Rgb activeFill(TitleBarButton button) {
    switch (button) {
    case TitleBarButton::close:
        return {1.0, 0.373, 0.341};
    case TitleBarButton::minimize:
        return {0.996, 0.737, 0.180};
    case TitleBarButton::zoom:
        return {0.157, 0.784, 0.251};
    case TitleBarButton::miniLight:
        break;
    }
    return {0.298, 0.608, 0.961};
}

Rgb white(double level) {
    return {level, level, level};
}

} // namespace

TitleBarButtonLook TitleBarButtonLook::of(TitleBarButton button, const TitleBarButtonState& state) {
    Rgb base;
    if (state.idleFading && button == TitleBarButton::miniLight) {
        base = white(0.24);
    } else if (state.windowActive) {
        base = activeFill(button);
    } else {
        base = white(state.dark ? 0.137 : 0.863);
    }
    if (state.pressed) base = towardBlack(base, 0.22);
    return {base, towardBlack(base, 0.12)};
}

platform::Rect buttonOval(const platform::Rect& frame) {
    return {frame.x - 0.25, frame.y - 0.25, frame.width + 0.5, frame.height + 0.5};
}

platform::Rect miniLightGlyph(const platform::Rect& oval) {
    // std::round rounds halves away from zero.
    double side = std::round(oval.width * 0.4);
    double x = std::round(oval.x + oval.width / 2 - side / 2);
    double y = std::round(oval.y + oval.height / 2 - side / 2);
    return {x, y, side, side};
}

} // namespace vimbo::chrome
