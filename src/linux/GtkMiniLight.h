#pragma once

#include "core/chrome/TitleBarButtonLook.h"
#include "core/chrome/TitleBarLayout.h"

#include <gtk/gtk.h>

#include <functional>

namespace vimbo::linuxdesktop {

// The round fourth button beside the title-bar buttons that shrinks the window into the mini player:
// a widget of its own so that assistive technologies see a push button named "Mini Player". Main thread.
class GtkMiniLight {
  public:
    // `hoverChanged` reports the pointer entering or leaving the button.
    GtkMiniLight(chrome::TitleBarSide side, std::function<void()> clicked,
                 std::function<void(bool)> hoverChanged);
    ~GtkMiniLight();
    GtkMiniLight(const GtkMiniLight&) = delete;
    GtkMiniLight& operator=(const GtkMiniLight&) = delete;

    // To be added as an overlay over the page; it places itself beside the zoom button.
    GtkWidget* widget() const { return area_; }

    void setLook(const chrome::TitleBarButtonState& look);
    void setRowHovered(bool hovered);

  private:
    static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean onPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer self);

    GtkWidget* area_;
    std::function<void()> clicked_;
    std::function<void(bool)> hoverChanged_;
    chrome::TitleBarButtonState look_;
    bool rowHovered_ = false;
};

} // namespace vimbo::linuxdesktop
