#pragma once

#include "core/platform/ChromeWindows.h"

#include <optional>
#include <string_view>

namespace vimbo::chrome {

// The round buttons the program draws in its drag bar, from the window's edge inwards.
enum class TitleBarButton { close, minimize, zoom, miniLight };

// Which edge of the drag bar holds the buttons.
enum class TitleBarSide { left, right };

// The side the desktop's button layout ("close,minimize:menu" style: before the colon is the left
// side) puts the close button on; right when the layout names no close button.
TitleBarSide titleBarSide(std::string_view decorationLayout);

// Where the buttons sit in a drag bar of the given width, in bar coordinates: 14 across, one 20 pitch
// apart, centred in the 36-high bar, close outermost and the mini light one pitch past zoom.
struct TitleBarButtonFrames {
    platform::Rect close;
    platform::Rect minimize;
    platform::Rect zoom;
    platform::Rect miniLight;

    static TitleBarButtonFrames in(double barWidth, TitleBarSide side);

    const platform::Rect& operator[](TitleBarButton button) const;
    // The row the pointer hovers to show the glyphs: every button, the mini light included when shown.
    platform::Rect row(bool withMiniLight) const;
    // The button under a point of the bar; the mini light counts only when shown.
    std::optional<TitleBarButton> buttonAt(double x, double y, bool withMiniLight) const;
};

} // namespace vimbo::chrome
