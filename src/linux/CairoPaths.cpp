#include "linux/CairoPaths.h"

#include <cmath>

namespace vimbo::linuxdesktop {

void roundedRectPath(cairo_t* cr, const platform::Rect& r, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.x + r.width - radius, r.y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, r.x + r.width - radius, r.y + r.height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, r.x + radius, r.y + r.height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, r.x + radius, r.y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

} // namespace vimbo::linuxdesktop
