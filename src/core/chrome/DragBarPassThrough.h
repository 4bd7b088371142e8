#pragma once

#include "core/platform/ChromeWindows.h"

#include <optional>
#include <string_view>
#include <vector>

namespace vimbo::chrome {

// A rectangle in drag-bar coordinates (origin at the bar's top-left corner), as the page measured
// its controls.
using PassThroughRect = platform::Rect;

// Parses the "dragThrough:" payload: a JSON array of arrays of numbers.
class DragBarPassThrough {
  public:
    // None when the payload is not JSON or not an array of arrays of numbers. Inner arrays that are
    // not four finite numbers with positive width and height are skipped; the page's order is kept.
    static std::optional<std::vector<PassThroughRect>> rects(std::string_view payload);
};

} // namespace vimbo::chrome
