#include "linux/GtkMainWindow.h"

#include <utility>

namespace vimbo::linuxdesktop {

GtkMainWindow::GtkMainWindow(GtkApplication* application, GtkWidget* content, std::function<void()> onClose)
    : window_(gtk_application_window_new(application)), onClose_(std::move(onClose)) {
    g_object_ref_sink(window_);
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_title(window, "Vimbo");
    gtk_window_set_default_size(window, 1100, 760);
    GdkGeometry hints{};
    hints.min_width = 200;
    hints.min_height = 200;
    gtk_window_set_geometry_hints(window, nullptr, &hints, GDK_HINT_MIN_SIZE);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    gtk_container_add(GTK_CONTAINER(window_), content);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(onWindowState), this);
}

GtkMainWindow::~GtkMainWindow() {
    g_signal_handlers_disconnect_by_data(window_, this);
    gtk_widget_destroy(window_);
    g_object_unref(window_);
}

void GtkMainWindow::show() {
    mainThread_.check();
    gtk_widget_show_all(window_);
    gtk_window_present(GTK_WINDOW(window_));
}

void GtkMainWindow::hide() {
    mainThread_.check();
    gtk_widget_hide(window_);
}

bool GtkMainWindow::isVisible() const {
    mainThread_.check();
    return gtk_widget_get_visible(window_) && !iconified_;
}

gboolean GtkMainWindow::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
    auto* window = static_cast<GtkMainWindow*>(self);
    if (window->onClose_) window->onClose_();
    return TRUE; // the window lives as long as the application
}

gboolean GtkMainWindow::onWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
    static_cast<GtkMainWindow*>(self)->iconified_ =
        (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    return FALSE;
}

} // namespace vimbo::linuxdesktop
