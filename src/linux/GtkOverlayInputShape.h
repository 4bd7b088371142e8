#pragma once

#include <gtk/gtk.h>

namespace vimbo::linuxdesktop {

// Limits where an overlay child takes the pointer to `shape` (in its own coordinates). GtkOverlay
// holds each overlay child in a window of its own, which would take the clicks the child's shape
// leaves out, so that window is shaped alike. (Marking it pass-through instead lets the clicks
// through but also withholds the pointer's plain movements from the child.) Call again on map and
// size-allocate: GTK drops the shapes when the widget is realized again.
void shapeOverlayInput(GtkWidget* child, const cairo_region_t* shape);

} // namespace vimbo::linuxdesktop
