#pragma once

#include "core/platform/MainWindow.h"
#include "core/util/ThreadChecker.h"

#include <gtk/gtk.h>

#include <functional>

namespace vimbo::linuxdesktop {

// The main window: 1100 x 760, at least 200 x 200, centred, titled "Vimbo", holding the page.
class GtkMainWindow : public platform::MainWindow {
  public:
    // `onClose` runs when the user closes the window; the window itself is kept.
    GtkMainWindow(GtkApplication* application, GtkWidget* content, std::function<void()> onClose);
    ~GtkMainWindow() override;
    GtkMainWindow(const GtkMainWindow&) = delete;
    GtkMainWindow& operator=(const GtkMainWindow&) = delete;

    void show() override;
    void hide() override;
    bool isVisible() const override;

  private:
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean onWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);

    GtkWidget* window_;
    std::function<void()> onClose_;
    bool iconified_ = false;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
