#include "linux/GtkBorderlessWindow.h"

#include "core/chrome/GlassEdgeRings.h"
#include "linux/CairoPaths.h"

#include <gdk/gdkx.h>

#include <cmath>
#include <utility>

namespace vimbo::linuxdesktop {
GtkBorderlessWindow::GtkBorderlessWindow(GtkApplication* application, Events events)
    : window_(gtk_application_window_new(application)), slot_(gtk_overlay_new()), events_(std::move(events)) {
    g_object_ref_sink(window_);
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_title(window, "Vimbo");
    gtk_window_set_decorated(window, FALSE);
    gtk_application_window_set_show_menubar(GTK_APPLICATION_WINDOW(window_), FALSE);
    if (GdkVisual* rgba = gdk_screen_get_rgba_visual(gtk_widget_get_screen(window_)))
        gtk_widget_set_visual(window_, rgba);
    // The window paints its own background: plain, or clear with the rim for glass.
    gtk_widget_set_app_paintable(window_, TRUE);
    gtk_overlay_add_overlay(GTK_OVERLAY(slot_), edges_.widget());
    gtk_container_add(GTK_CONTAINER(window_), slot_);
    gtk_widget_show_all(slot_);
    g_signal_connect_after(window_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(onWindowState), this);
    g_signal_connect_swapped(window_, "realize",
                             G_CALLBACK(+[](GtkBorderlessWindow* w) { w->applyBlurBehind(); }), this);
    g_signal_connect_swapped(window_, "delete-event", G_CALLBACK(+[](GtkBorderlessWindow* w) {
                                 w->events_.closeRequested();
                                 return TRUE; // the window lives as long as the application
                             }),
                             this);
    g_signal_connect_swapped(window_, "configure-event", G_CALLBACK(+[](GtkBorderlessWindow* w) {
                                 w->events_.configured();
                                 return FALSE;
                             }),
                             this);
    g_signal_connect_swapped(window_, "notify::is-active",
                             G_CALLBACK(+[](GtkBorderlessWindow* w) { w->events_.activityChanged(); }), this);
}

GtkBorderlessWindow::~GtkBorderlessWindow() {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(window_);
    g_object_unref(window_);
}

void GtkBorderlessWindow::addContent(GtkWidget* content) {
    gtk_container_add(GTK_CONTAINER(slot_), content);
}

void GtkBorderlessWindow::removeContent(GtkWidget* content) {
    gtk_container_remove(GTK_CONTAINER(slot_), content);
}

void GtkBorderlessWindow::setSurface(bool glass, bool dark) {
    if (glass == glass_ && dark == dark_) return;
    glass_ = glass;
    dark_ = dark;
    applyBlurBehind();
    gtk_widget_queue_draw(window_);
}

platform::Rect GtkBorderlessWindow::frame() const {
    int x = 0, y = 0, width = 0, height = 0;
    gtk_window_get_position(GTK_WINDOW(window_), &x, &y);
    gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
    return {double(x), double(y), double(width), double(height)};
}

platform::Rect GtkBorderlessWindow::workArea() const {
    GdkDisplay* display = gtk_widget_get_display(window_);
    GdkWindow* window = gtk_widget_get_window(window_);
    GdkMonitor* monitor = window ? gdk_display_get_monitor_at_window(display, window) : nullptr;
    if (!monitor) monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    if (!monitor) return frame();
    GdkRectangle area{};
    gdk_monitor_get_workarea(monitor, &area);
    return {double(area.x), double(area.y), double(area.width), double(area.height)};
}

// Drawn after the content and beneath it: the web view copies its transparent pixels onto the window
// rather than blending them, so a background painted first would be wiped out where the page is clear.
gboolean GtkBorderlessWindow::onDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
    auto* window = static_cast<GtkBorderlessWindow*>(self);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OVER);
    if (window->showsGlass()) {
        window->paintRim(cr, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
    } else {
        double level = window->dark_ ? 0.006 : 1.0;
        cairo_set_source_rgb(cr, level, level, level);
        cairo_paint(cr);
    }
    cairo_restore(cr);
    return FALSE;
}

// Each ring fills the band between two rounded rectangles with its gradient, top-left to bottom-right.
void GtkBorderlessWindow::paintRim(cairo_t* cr, double width, double height) const {
    for (const auto& ring : chrome::glassEdgeRings(width, height, dark_)) {
        cairo_save(cr);
        double outer = ring.outerInset;
        double inner = outer + 1;
        roundedRectPath(cr, {outer, outer, width - 2 * outer, height - 2 * outer},
                        chrome::kGlassCornerRadius);
        roundedRectPath(cr, {inner, inner, width - 2 * inner, height - 2 * inner},
                        chrome::kGlassCornerRadius);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr);
        cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, width, height);
        double level = ring.white ? 1.0 : 0.0;
        for (const auto& stop : ring.stops)
            cairo_pattern_add_color_stop_rgba(gradient, stop.location, level, level, level, stop.alpha);
        cairo_set_source(cr, gradient);
        cairo_paint(cr);
        cairo_pattern_destroy(gradient);
        cairo_restore(cr);
    }
}

// KDE's compositor blurs what lies behind a window that carries this property (an empty region: the
// whole window); other compositors ignore it and show plain translucency.
void GtkBorderlessWindow::applyBlurBehind() {
    GdkWindow* window = gtk_widget_get_window(window_);
    if (!window || !GDK_IS_X11_WINDOW(window)) return;
    GdkAtom property = gdk_atom_intern_static_string("_KDE_NET_WM_BLUR_BEHIND_REGION");
    if (showsGlass()) {
        gdk_property_change(window, property, gdk_atom_intern_static_string("CARDINAL"), 32,
                            GDK_PROP_MODE_REPLACE, nullptr, 0);
    } else {
        gdk_property_delete(window, property);
    }
}

gboolean GtkBorderlessWindow::onWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
    auto* window = static_cast<GtkBorderlessWindow*>(self);
    window->iconified_ = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    bool fullScreen = (event->new_window_state & GDK_WINDOW_STATE_FULLSCREEN) != 0;
    if (fullScreen != window->fullScreen_) {
        window->fullScreen_ = fullScreen;
        window->applyBlurBehind();
        gtk_widget_queue_draw(window->window_);
        window->events_.fullScreen(fullScreen);
    }
    return FALSE;
}

} // namespace vimbo::linuxdesktop
