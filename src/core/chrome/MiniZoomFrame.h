#pragma once

#include "core/platform/ChromeWindows.h"

namespace vimbo::chrome {

// The mini player's zoomed frame: 340 x 340 from its current top-left corner, growing down and to the
// right, moved back into the work area where it would leave it (to the work area's top-left when it
// cannot fit).
platform::Rect miniZoomFrame(const platform::Rect& current, const platform::Rect& workArea);

} // namespace vimbo::chrome
