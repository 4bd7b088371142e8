#pragma once

#include "core/chrome/DragBarPassThrough.h"

#include <vector>

namespace vimbo::chrome {

// The strip along the top of the window that moves it; the page's controls under it let clicks
// through. Until the borderless window exists the strip only keeps the page's rectangles.
struct DragBar {
    std::vector<PassThroughRect> passThroughRects;
};

} // namespace vimbo::chrome
