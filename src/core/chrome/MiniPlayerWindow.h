#pragma once

#include "core/chrome/MiniWindowAnchorStore.h"
#include "core/platform/ChromeWindows.h"

#include <optional>

namespace vimbo::chrome {

// Where the mini player opens, in screen coordinates (origin top-left, y growing downwards).
struct MiniPlayerWindow {
    // The page's size in the mini player each time it opens; a size chosen by resizing is not kept.
    static constexpr double kPageSide = 260;
    // The first time, the mini player sits this far in from the main window's bottom-right corner.
    static constexpr double kFirstPlacementInset = 24;

    // `rect` keeps its size and moves into `within`; one larger than `within` aligns to its left and
    // top edges.
    static platform::Rect clamped(const platform::Rect& rect, const platform::Rect& within);
    // The frame of size `frameSize` at the remembered top-left corner, or without one near the main
    // window's bottom-right corner; either way clamped into `workArea`.
    static platform::Rect placement(std::optional<Point> anchor, const platform::Rect& mainFrame,
                                    const platform::Rect& frameSize, const platform::Rect& workArea);
};

} // namespace vimbo::chrome
