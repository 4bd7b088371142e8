#pragma once

#include "core/platform/ChromeWindows.h"

#include <cairo.h>

namespace vimbo::linuxdesktop {

// Adds a closed rounded rectangle to the current path.
void roundedRectPath(cairo_t* cr, const platform::Rect& rect, double radius);

} // namespace vimbo::linuxdesktop
