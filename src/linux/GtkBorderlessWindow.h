#pragma once

#include "core/platform/ChromeWindows.h"
#include "linux/GtkResizeEdges.h"

#include <gtk/gtk.h>

#include <functional>

namespace vimbo::linuxdesktop {

// A window without the window manager's title bar, for the main window and the mini player alike: an
// RGBA visual where the screen has one, resize bands along its edges, and its surface painted by
// itself: the appearance's plain background, or glass (transparent, the rim drawn round its edge,
// KDE's blur behind it where offered), never glass in full screen. Main thread.
class GtkBorderlessWindow {
  public:
    struct Events {
        std::function<void()> closeRequested;  // the window manager's close
        std::function<void(bool)> fullScreen;  // the real full-screen state changed
        std::function<void()> configured;      // moved or resized
        std::function<void()> activityChanged; // gained or lost the keyboard focus
    };

    GtkBorderlessWindow(GtkApplication* application, Events events);
    ~GtkBorderlessWindow();
    GtkBorderlessWindow(const GtkBorderlessWindow&) = delete;
    GtkBorderlessWindow& operator=(const GtkBorderlessWindow&) = delete;

    GtkWindow* window() const { return GTK_WINDOW(window_); }
    // The page's widget, shown in this window or taken out again (the caller keeps it alive).
    void addContent(GtkWidget* content);
    void removeContent(GtkWidget* content);

    void setSurface(bool glass, bool dark);
    bool dark() const { return dark_; }
    bool fullScreen() const { return fullScreen_; }
    bool iconified() const { return iconified_; }
    platform::Rect frame() const;
    // The work area of the monitor the window is on (of the primary monitor before it is shown).
    platform::Rect workArea() const;

  private:
    static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean onWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);
    void paintRim(cairo_t* cr, double width, double height) const;
    bool showsGlass() const { return glass_ && !fullScreen_; }
    void applyBlurBehind();

    GtkWidget* window_;
    GtkWidget* slot_; // an overlay: the content below, the resize bands above
    GtkResizeEdges edges_;
    Events events_;
    bool glass_ = false;
    bool dark_ = false;
    bool fullScreen_ = false;
    bool iconified_ = false;
};

} // namespace vimbo::linuxdesktop
