#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace vimbo::chrome {

// A rectangle in page coordinates, as the page measured its controls.
struct PassThroughRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const PassThroughRect&, const PassThroughRect&) = default;
};

// Parses the "dragThrough:" payload: a JSON array of arrays of numbers.
class DragBarPassThrough {
  public:
    // None when the payload is not JSON or not an array of arrays of numbers. Inner arrays that are
    // not four finite numbers with positive width and height are skipped; the page's order is kept.
    static std::optional<std::vector<PassThroughRect>> rects(std::string_view payload);
};

} // namespace vimbo::chrome
