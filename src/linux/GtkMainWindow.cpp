#include "linux/GtkMainWindow.h"

#include <utility>

namespace vimbo::linuxdesktop {

GtkMainWindow::GtkMainWindow(GtkApplication* application, GtkWidget* content, GtkWidget* keyboardFocus,
                             std::function<void()> onClose)
    : window_(gtk_application_window_new(application)), keyboardFocus_(keyboardFocus),
      onClose_(std::move(onClose)) {
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
    gtk_style_context_add_provider(gtk_widget_get_style_context(window_),
                                   GTK_STYLE_PROVIDER(background_.get()),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
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
    // Otherwise GTK gives the keys to the first focusable widget, the menu button, and the page sees
    // no key (Esc, Space) until it is clicked.
    gtk_widget_grab_focus(keyboardFocus_);
}

void GtkMainWindow::hide() {
    mainThread_.check();
    gtk_widget_hide(window_);
}

void GtkMainWindow::setAppearanceDark(bool dark) {
    mainThread_.check();
    // GTK keeps the theme variant per process: the menus and dialogs follow along with the window.
    g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", gboolean{dark}, nullptr);
    // The web view is transparent: until the page draws, the window shows through it. Painted in the
    // page's own background (--page in web/style.css), it shows no flash of the theme's grey.
    gtk_css_provider_load_from_data(background_.get(),
                                    dark ? "window { background-color: #05060a; }"
                                         : "window { background-color: #eef0f4; }",
                                    -1, nullptr);
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
