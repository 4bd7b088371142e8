#include "linux/GtkDesktop.h"

#include "linux/GLibOwners.h"

#include <gtk/gtk.h>

#include <string>

namespace vimbo::linuxdesktop {
namespace {

// The window the user is looking at, so dialogs and launched programs land beside it.
GtkWindow* activeWindow() {
    GApplication* application = g_application_get_default();
    if (!application || !GTK_IS_APPLICATION(application)) return nullptr;
    return gtk_application_get_active_window(GTK_APPLICATION(application));
}

} // namespace

bool GtkDesktop::showUri(const char* uri) {
    GError* error = nullptr;
    bool shown = gtk_show_uri_on_window(activeWindow(), uri, GDK_CURRENT_TIME, &error);
    if (error) {
        systemLog_.warn(std::string("Vimbo cannot open ") + uri + ": " + error->message);
        g_error_free(error);
    }
    return shown;
}

void GtkDesktop::showAboutPanel(const std::string& name, const std::string& version,
                                const std::string& description, const std::string& copyright) {
    // One About dialog at a time: choosing the item again brings the open one forward.
    static GtkWidget* dialog = nullptr;
    if (!dialog) {
        dialog = gtk_about_dialog_new();
        g_object_add_weak_pointer(G_OBJECT(dialog), reinterpret_cast<gpointer*>(&dialog));
        g_signal_connect(dialog, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
        gtk_window_set_transient_for(GTK_WINDOW(dialog), activeWindow());
        gtk_window_set_destroy_with_parent(GTK_WINDOW(dialog), TRUE);
    }
    auto* about = GTK_ABOUT_DIALOG(dialog);
    gtk_about_dialog_set_program_name(about, name.c_str());
    gtk_about_dialog_set_version(about, version.c_str());
    gtk_about_dialog_set_comments(about, description.c_str());
    gtk_about_dialog_set_copyright(about, copyright.c_str());
    gtk_about_dialog_set_logo_icon_name(about, "audio-x-generic");
    gtk_window_present(GTK_WINDOW(dialog));
}

bool GtkDesktop::openFile(const std::string& path) {
    GText uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    return uri && showUri(uri.get());
}

bool GtkDesktop::openAddress(const std::string& address) {
    return showUri(address.c_str());
}

void GtkDesktop::alertSound() {
    if (GdkDisplay* display = gdk_display_get_default()) gdk_display_beep(display);
}

} // namespace vimbo::linuxdesktop
