#pragma once

#include "core/chrome/TitleBarButtonLook.h"

#include <cairo.h>

namespace vimbo::linuxdesktop {

// Draws one round title-bar button in `frame`, with its glyph while the pointer is over the row.
void paintTitleBarButton(cairo_t* cr, chrome::TitleBarButton button, const platform::Rect& frame,
                         const chrome::TitleBarButtonState& state, bool rowHovered);

} // namespace vimbo::linuxdesktop
