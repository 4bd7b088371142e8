#pragma once

#include "core/platform/DefaultsStore.h"

#include <optional>
#include <string>
#include <string_view>

namespace vimbo::chrome {

struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// The mini player's top-left corner on the screen, kept across launches under "miniPlayerTopLeft" as
// point text "{x, y}".
class MiniWindowAnchorStore {
  public:
    explicit MiniWindowAnchorStore(platform::DefaultsStore& defaults) : defaults_(defaults) {}

    // None when nothing is stored or the text is not a point.
    std::optional<Point> load() const;
    void save(Point topLeft);

    static std::string text(Point point);
    static std::optional<Point> parse(std::string_view text);

  private:
    platform::DefaultsStore& defaults_;
};

} // namespace vimbo::chrome
