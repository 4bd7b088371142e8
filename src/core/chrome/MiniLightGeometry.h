#pragma once

#include "core/platform/ChromeWindows.h"

#include <optional>
#include <vector>

namespace vimbo::chrome {

// Where the mini light sits beside the title-bar buttons, in the buttons' coordinates.
struct MiniLightGeometry {
    // One button pitch after the last button (the pitch measured between the first two); none with
    // fewer than two buttons or no positive pitch.
    static std::optional<platform::Rect> frame(const std::vector<platform::Rect>& standardButtons);
    // The row the pointer hovers to show the buttons' glyphs: the buttons and the mini light together.
    static platform::Rect rowRect(const std::vector<platform::Rect>& standardButtons,
                                  const platform::Rect& mini);
};

} // namespace vimbo::chrome
