#include "linux/GtkOverlayInputShape.h"

namespace vimbo::linuxdesktop {

void shapeOverlayInput(GtkWidget* child, const cairo_region_t* shape) {
    gtk_widget_input_shape_combine_region(child, const_cast<cairo_region_t*>(shape));
    GdkWindow* holder = gtk_widget_get_parent_window(child);
    GtkWidget* toplevel = gtk_widget_get_toplevel(child);
    if (holder && gtk_widget_is_toplevel(toplevel) && holder != gtk_widget_get_window(toplevel))
        gdk_window_input_shape_combine_region(holder, shape, 0, 0);
}

} // namespace vimbo::linuxdesktop
