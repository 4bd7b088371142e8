#include "linux/GtkDragBar.h"

#include "linux/GLibOwners.h"
#include "linux/GtkOverlayInputShape.h"
#include "linux/TitleBarButtonPainter.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace vimbo::linuxdesktop {
namespace {

using chrome::TitleBarButton;

constexpr const char* kWmPreferences = "org.gnome.desktop.wm.preferences";

// What a double-click on a title bar does on this desktop: zoom unless GNOME says minimize or nothing.
std::optional<TitleBarButton> doubleClickAction() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, kWmPreferences, TRUE) : nullptr;
    if (!schema) return TitleBarButton::zoom;
    g_settings_schema_unref(schema);
    GObjectPtr<GSettings> settings{g_settings_new(kWmPreferences)};
    GText action{g_settings_get_string(settings.get(), "action-double-click-titlebar")};
    if (std::strcmp(action.get(), "minimize") == 0) return TitleBarButton::minimize;
    if (std::strcmp(action.get(), "none") == 0) return std::nullopt;
    return TitleBarButton::zoom;
}

cairo_rectangle_int_t outerPixels(const platform::Rect& r) {
    int x = static_cast<int>(std::floor(r.x));
    int y = static_cast<int>(std::floor(r.y));
    return {x, y, static_cast<int>(std::ceil(r.x + r.width)) - x,
            static_cast<int>(std::ceil(r.y + r.height)) - y};
}

} // namespace

GtkDragBar::GtkDragBar(GtkWidget* scrollTarget, chrome::TitleBarSide side,
                       std::function<void(TitleBarButton)> clicked, std::function<void(bool)> rowHoverChanged)
    : area_(gtk_drawing_area_new()), scrollTarget_(scrollTarget), side_(side), clicked_(std::move(clicked)),
      rowHoverChanged_(std::move(rowHoverChanged)) {
    g_object_ref_sink(area_);
    gtk_widget_set_size_request(area_, -1, kHeight);
    gtk_widget_set_valign(area_, GTK_ALIGN_START);
    gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                     GDK_LEAVE_NOTIFY_MASK | GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
    g_signal_connect(area_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(onPress), this);
    g_signal_connect(area_, "button-release-event", G_CALLBACK(onRelease), this);
    g_signal_connect(area_, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(area_, "leave-notify-event", G_CALLBACK(onLeave), this);
    g_signal_connect(area_, "scroll-event", G_CALLBACK(onScroll), this);
    // GTK drops the input shape when the widget is realized again (after a move to the other window).
    auto reshape = +[](GtkDragBar* bar) { bar->applyInputShape(); };
    g_signal_connect_swapped(area_, "map", G_CALLBACK(reshape), this);
    g_signal_connect_swapped(area_, "size-allocate", G_CALLBACK(reshape), this);
}

GtkDragBar::~GtkDragBar() {
    g_signal_handlers_disconnect_by_data(area_, this);
    g_object_unref(area_);
}

chrome::TitleBarButtonFrames GtkDragBar::frames() const {
    return chrome::TitleBarButtonFrames::in(gtk_widget_get_allocated_width(area_), side_);
}

void GtkDragBar::setPassThrough(const std::vector<platform::Rect>& rects) {
    passThrough_ = rects;
    applyInputShape();
}

void GtkDragBar::setLook(const chrome::TitleBarButtonState& look) {
    look_ = look;
    gtk_widget_queue_draw(area_);
}

void GtkDragBar::setRowHovered(bool hovered) {
    if (hovered == rowHovered_) return;
    rowHovered_ = hovered;
    gtk_widget_queue_draw(area_);
}

// The strip without the pass-through rectangles, but always with the buttons: they stay usable even
// where the page's controls reach under them.
void GtkDragBar::applyInputShape() {
    cairo_rectangle_int_t strip{0, 0, gtk_widget_get_allocated_width(area_), kHeight};
    cairo_region_t* shape = cairo_region_create_rectangle(&strip);
    for (const auto& rect : passThrough_) {
        cairo_rectangle_int_t hole = outerPixels(rect);
        cairo_region_subtract_rectangle(shape, &hole);
    }
    cairo_rectangle_int_t row = outerPixels(frames().row(false));
    cairo_region_union_rectangle(shape, &row);
    shapeOverlayInput(area_, shape);
    cairo_region_destroy(shape);
}

gboolean GtkDragBar::onDraw(GtkWidget*, cairo_t* cr, gpointer self) {
    auto* bar = static_cast<GtkDragBar*>(self);
    auto frames = bar->frames();
    for (auto button : {TitleBarButton::close, TitleBarButton::minimize, TitleBarButton::zoom}) {
        auto state = bar->look_;
        state.pressed = bar->pressed_ == button;
        paintTitleBarButton(cr, button, frames[button], state, bar->rowHovered_);
    }
    return FALSE;
}

gboolean GtkDragBar::onPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* bar = static_cast<GtkDragBar*>(self);
    if (event->button != GDK_BUTTON_PRIMARY) return FALSE;
    bar->dragStart_.reset();
    if (auto button = bar->frames().buttonAt(event->x, event->y, false)) {
        bar->pressed_ = button;
        gtk_widget_queue_draw(bar->area_);
    } else if (event->type == GDK_2BUTTON_PRESS) {
        bar->doubleClick();
    } else if (event->type == GDK_BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS) {
        bar->dragStart_ = DragStart{event->button, event->x, event->y, event->x_root, event->y_root};
    }
    return TRUE;
}

gboolean GtkDragBar::onRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* bar = static_cast<GtkDragBar*>(self);
    bar->dragStart_.reset();
    auto pressed = std::exchange(bar->pressed_, std::nullopt);
    if (!pressed) return FALSE;
    gtk_widget_queue_draw(bar->area_);
    if (bar->frames().buttonAt(event->x, event->y, false) == pressed) bar->clicked_(*pressed);
    return TRUE;
}

gboolean GtkDragBar::onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self) {
    auto* bar = static_cast<GtkDragBar*>(self);
    auto row = bar->frames().row(bar->miniLightShown_);
    bar->setPointerInRow(event->x >= row.x && event->x < row.x + row.width && event->y < kHeight);
    if (!bar->dragStart_) return FALSE;
    const DragStart& start = *bar->dragStart_;
    if (!gtk_drag_check_threshold(widget, static_cast<int>(start.x), static_cast<int>(start.y),
                                  static_cast<int>(event->x), static_cast<int>(event->y)))
        return TRUE;
    bar->dragStart_.reset();
    gtk_window_begin_move_drag(GTK_WINDOW(gtk_widget_get_toplevel(widget)), start.button,
                               static_cast<int>(start.xRoot), static_cast<int>(start.yRoot), event->time);
    return TRUE;
}

gboolean GtkDragBar::onLeave(GtkWidget*, GdkEventCrossing*, gpointer self) {
    static_cast<GtkDragBar*>(self)->setPointerInRow(false);
    return FALSE;
}

void GtkDragBar::setPointerInRow(bool inRow) {
    if (inRow == pointerInRow_) return;
    pointerInRow_ = inRow;
    rowHoverChanged_(inRow);
}

void GtkDragBar::doubleClick() {
    if (auto action = doubleClickAction()) clicked_(*action);
}

// The page scrolls even under the bar: the event goes on to the web view, in its coordinates.
gboolean GtkDragBar::onScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self) {
    auto* bar = static_cast<GtkDragBar*>(self);
    GdkWindow* target = gtk_widget_get_window(bar->scrollTarget_);
    int dx = 0, dy = 0;
    if (!target || !gtk_widget_translate_coordinates(widget, bar->scrollTarget_, 0, 0, &dx, &dy))
        return FALSE;
    GdkEvent* copy = gdk_event_copy(reinterpret_cast<GdkEvent*>(event));
    g_object_unref(copy->scroll.window);
    copy->scroll.window = GDK_WINDOW(g_object_ref(target));
    copy->scroll.x += dx;
    copy->scroll.y += dy;
    gtk_widget_event(bar->scrollTarget_, copy);
    gdk_event_free(copy);
    return TRUE;
}

} // namespace vimbo::linuxdesktop
