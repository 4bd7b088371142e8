#include "linux/GtkResizeEdges.h"

#include "linux/GLibOwners.h"
#include "linux/GtkOverlayInputShape.h"

namespace vimbo::linuxdesktop {
namespace {

constexpr int kBand = 5;    // pixels along each edge
constexpr int kCorner = 16; // pixels from a corner that resize both ways

const char* cursorName(GdkWindowEdge edge) {
    switch (edge) {
    case GDK_WINDOW_EDGE_NORTH_WEST:
        return "nw-resize";
    case GDK_WINDOW_EDGE_NORTH:
        return "n-resize";
    case GDK_WINDOW_EDGE_NORTH_EAST:
        return "ne-resize";
    case GDK_WINDOW_EDGE_WEST:
        return "w-resize";
    case GDK_WINDOW_EDGE_EAST:
        return "e-resize";
    case GDK_WINDOW_EDGE_SOUTH_WEST:
        return "sw-resize";
    case GDK_WINDOW_EDGE_SOUTH:
        return "s-resize";
    case GDK_WINDOW_EDGE_SOUTH_EAST:
        break;
    }
    return "se-resize";
}

// -1, 0 or 1: near the start, in the middle, near the end of a side `length` long.
int zone(double at, double length, int band) {
    if (at < band) return -1;
    if (at >= length - band) return 1;
    return 0;
}

} // namespace

GtkResizeEdges::GtkResizeEdges() : box_(gtk_event_box_new()) {
    g_object_ref_sink(box_);
    // A window of its own, so the input shape applies to it alone.
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(box_), TRUE);
    gtk_event_box_set_above_child(GTK_EVENT_BOX(box_), TRUE);
    gtk_widget_add_events(box_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK);
    g_signal_connect(box_, "size-allocate", G_CALLBACK(onSizeAllocate), this);
    g_signal_connect_swapped(box_, "map", G_CALLBACK(+[](GtkResizeEdges* edges) { edges->applyShape(); }),
                             this);
    g_signal_connect(box_, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(box_, "button-press-event", G_CALLBACK(onPress), this);
}

GtkResizeEdges::~GtkResizeEdges() {
    g_signal_handlers_disconnect_by_data(box_, this);
    g_object_unref(box_);
}

void GtkResizeEdges::onSizeAllocate(GtkWidget*, GdkRectangle*, gpointer self) {
    static_cast<GtkResizeEdges*>(self)->applyShape();
}

// Only the band takes the pointer; everything inside it reaches the page and the drag bar.
void GtkResizeEdges::applyShape() {
    int width = gtk_widget_get_allocated_width(box_);
    int height = gtk_widget_get_allocated_height(box_);
    cairo_rectangle_int_t outer{0, 0, width, height};
    cairo_rectangle_int_t inner{kBand, kBand, std::max(0, width - 2 * kBand),
                                std::max(0, height - 2 * kBand)};
    cairo_region_t* band = cairo_region_create_rectangle(&outer);
    cairo_region_subtract_rectangle(band, &inner);
    shapeOverlayInput(box_, band);
    cairo_region_destroy(band);
}

bool GtkResizeEdges::edgeAt(double x, double y, GdkWindowEdge& edge) const {
    GtkWidget* toplevel = gtk_widget_get_toplevel(box_);
    GdkWindow* window = gtk_widget_get_window(toplevel);
    if (!window ||
        (gdk_window_get_state(window) & (GDK_WINDOW_STATE_FULLSCREEN | GDK_WINDOW_STATE_MAXIMIZED)))
        return false;
    int width = gtk_widget_get_allocated_width(box_);
    int height = gtk_widget_get_allocated_height(box_);
    int horizontal = zone(x, width, zone(y, height, kBand) != 0 ? kCorner : kBand);
    int vertical = zone(y, height, horizontal != 0 ? kCorner : kBand);
    static constexpr GdkWindowEdge kEdges[3][3] = {
        {GDK_WINDOW_EDGE_NORTH_WEST, GDK_WINDOW_EDGE_WEST, GDK_WINDOW_EDGE_SOUTH_WEST},
        {GDK_WINDOW_EDGE_NORTH, GDK_WINDOW_EDGE_NORTH, GDK_WINDOW_EDGE_SOUTH},
        {GDK_WINDOW_EDGE_NORTH_EAST, GDK_WINDOW_EDGE_EAST, GDK_WINDOW_EDGE_SOUTH_EAST}};
    if (horizontal == 0 && vertical == 0) return false;
    edge = kEdges[horizontal + 1][vertical + 1];
    return true;
}

gboolean GtkResizeEdges::onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self) {
    GdkWindowEdge edge{};
    GdkWindow* window = gtk_widget_get_window(widget);
    if (!static_cast<GtkResizeEdges*>(self)->edgeAt(event->x, event->y, edge)) {
        gdk_window_set_cursor(window, nullptr);
        return FALSE;
    }
    GObjectPtr<GdkCursor> cursor{gdk_cursor_new_from_name(gdk_window_get_display(window), cursorName(edge))};
    gdk_window_set_cursor(window, cursor.get());
    return TRUE;
}

gboolean GtkResizeEdges::onPress(GtkWidget* widget, GdkEventButton* event, gpointer self) {
    GdkWindowEdge edge{};
    if (event->button != GDK_BUTTON_PRIMARY ||
        !static_cast<GtkResizeEdges*>(self)->edgeAt(event->x, event->y, edge))
        return FALSE;
    gtk_window_begin_resize_drag(GTK_WINDOW(gtk_widget_get_toplevel(widget)), edge, event->button,
                                 static_cast<int>(event->x_root), static_cast<int>(event->y_root),
                                 event->time);
    return TRUE;
}

} // namespace vimbo::linuxdesktop
