#pragma once

#include "core/chrome/TitleBarButtonLook.h"
#include "core/chrome/TitleBarLayout.h"
#include "core/platform/ChromeWindows.h"

#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <vector>

namespace vimbo::linuxdesktop {

// The 36-pixel strip over the top of the page: press and move drags the window, a double-click does
// what the desktop's title bars do, the wheel scrolls the page below, and the page's pass-through
// rectangles let clicks reach the page. Draws the close, minimize and zoom buttons. Main thread.
class GtkDragBar {
  public:
    static constexpr int kHeight = 36;

    // `clicked` gets a button released over itself, and zoom or minimize for a double-click.
    // `rowHoverChanged` reports the pointer entering or leaving the row of buttons.
    GtkDragBar(GtkWidget* scrollTarget, chrome::TitleBarSide side,
               std::function<void(chrome::TitleBarButton)> clicked,
               std::function<void(bool)> rowHoverChanged);
    ~GtkDragBar();
    GtkDragBar(const GtkDragBar&) = delete;
    GtkDragBar& operator=(const GtkDragBar&) = delete;

    GtkWidget* widget() const { return area_; }
    chrome::TitleBarButtonFrames frames() const;

    void setPassThrough(const std::vector<platform::Rect>& rects);
    void setLook(const chrome::TitleBarButtonState& look);
    // The row of buttons shows its glyphs (the pointer is over it or over the mini light).
    void setRowHovered(bool hovered);
    // Whether the mini light beside the buttons counts as part of the row.
    void setMiniLightShown(bool shown) { miniLightShown_ = shown; }

  private:
    static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean onPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean onLeave(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
    static gboolean onScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
    void applyInputShape();
    void doubleClick();
    void setPointerInRow(bool inRow);

    GtkWidget* area_;
    GtkWidget* scrollTarget_;
    chrome::TitleBarSide side_;
    std::function<void(chrome::TitleBarButton)> clicked_;
    std::function<void(bool)> rowHoverChanged_;
    std::vector<platform::Rect> passThrough_;
    chrome::TitleBarButtonState look_;
    std::optional<chrome::TitleBarButton> pressed_;
    // A press that becomes a window drag once it moves.
    struct DragStart {
        guint button;
        double x, y, xRoot, yRoot;
    };
    std::optional<DragStart> dragStart_;
    bool rowHovered_ = false;
    bool pointerInRow_ = false;
    bool miniLightShown_ = false;
};

} // namespace vimbo::linuxdesktop
