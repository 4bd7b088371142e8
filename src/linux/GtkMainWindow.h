#pragma once

#include "core/platform/MainWindow.h"
#include "core/util/ThreadChecker.h"
#include "linux/GLibOwners.h"

#include <gtk/gtk.h>

#include <functional>

namespace vimbo::linuxdesktop {

// The main window: 1100 x 760, at least 200 x 200, centred, titled "Vimbo", holding the page.
class GtkMainWindow : public platform::MainWindow {
  public:
    // `keyboardFocus`, inside `content`, takes the keys whenever the window is shown. `onClose` runs
    // when the user closes the window; the window itself is kept.
    GtkMainWindow(GtkApplication* application, GtkWidget* content, GtkWidget* keyboardFocus,
                  std::function<void()> onClose);
    ~GtkMainWindow() override;
    GtkMainWindow(const GtkMainWindow&) = delete;
    GtkMainWindow& operator=(const GtkMainWindow&) = delete;

    void show() override;
    void hide() override;
    bool isVisible() const override;
    void setAppearanceDark(bool dark) override;

  private:
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean onWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);

    GtkWidget* window_;
    GtkWidget* keyboardFocus_;
    GObjectPtr<GtkCssProvider> background_{gtk_css_provider_new()};
    std::function<void()> onClose_;
    bool iconified_ = false;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
