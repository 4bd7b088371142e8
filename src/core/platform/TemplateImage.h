#pragma once

#include "core/platform/Canvas.h"

#include <functional>

namespace vimbo::platform {

// A small image kept as its drawing procedure, in points. It is a template: only the alpha of what
// it draws matters and the host supplies the colour. The procedure owns what it draws, so it can
// be drawn at any scale, any number of times.
struct TemplateImage {
    double width = 0;
    double height = 0;
    std::function<void(Canvas&, CanvasRect)> draw;

    void drawIn(Canvas& canvas) const {
        if (draw) draw(canvas, {0, 0, width, height});
    }
};

} // namespace vimbo::platform
