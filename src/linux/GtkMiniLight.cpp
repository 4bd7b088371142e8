#include "linux/GtkMiniLight.h"

#include "linux/TitleBarButtonPainter.h"

#include <utility>

namespace vimbo::linuxdesktop {

GtkMiniLight::GtkMiniLight(chrome::TitleBarSide side, std::function<void()> clicked,
                           std::function<void(bool)> hoverChanged)
    : area_(gtk_drawing_area_new()), clicked_(std::move(clicked)), hoverChanged_(std::move(hoverChanged)) {
    g_object_ref_sink(area_);
    // The frames only depend on the distance from the bar's edge, so any width places it.
    constexpr double kAnyWidth = 1000;
    platform::Rect frame = chrome::TitleBarButtonFrames::in(kAnyWidth, side).miniLight;
    gtk_widget_set_size_request(area_, static_cast<int>(frame.width), static_cast<int>(frame.height));
    gtk_widget_set_valign(area_, GTK_ALIGN_START);
    gtk_widget_set_margin_top(area_, static_cast<int>(frame.y));
    if (side == chrome::TitleBarSide::left) {
        gtk_widget_set_halign(area_, GTK_ALIGN_START);
        gtk_widget_set_margin_start(area_, static_cast<int>(frame.x));
    } else {
        gtk_widget_set_halign(area_, GTK_ALIGN_END);
        gtk_widget_set_margin_end(area_, static_cast<int>(kAnyWidth - frame.x - frame.width));
    }
    AtkObject* accessible = gtk_widget_get_accessible(area_);
    atk_object_set_role(accessible, ATK_ROLE_PUSH_BUTTON);
    atk_object_set_name(accessible, "Mini Player");
    gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_ENTER_NOTIFY_MASK |
                                     GDK_LEAVE_NOTIFY_MASK);
    g_signal_connect(area_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(onPress), this);
    g_signal_connect(area_, "button-release-event", G_CALLBACK(onRelease), this);
    g_signal_connect(area_, "enter-notify-event", G_CALLBACK(onCrossing), this);
    g_signal_connect(area_, "leave-notify-event", G_CALLBACK(onCrossing), this);
}

GtkMiniLight::~GtkMiniLight() {
    g_signal_handlers_disconnect_by_data(area_, this);
    g_object_unref(area_);
}

void GtkMiniLight::setLook(const chrome::TitleBarButtonState& look) {
    if (look.windowActive == look_.windowActive && look.idleFading == look_.idleFading &&
        look.dark == look_.dark)
        return;
    look_.windowActive = look.windowActive;
    look_.idleFading = look.idleFading;
    look_.dark = look.dark;
    gtk_widget_queue_draw(area_);
}

void GtkMiniLight::setRowHovered(bool hovered) {
    if (hovered == rowHovered_) return;
    rowHovered_ = hovered;
    gtk_widget_queue_draw(area_);
}

gboolean GtkMiniLight::onDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
    auto* light = static_cast<GtkMiniLight*>(self);
    platform::Rect bounds{0, 0, static_cast<double>(gtk_widget_get_allocated_width(widget)),
                          static_cast<double>(gtk_widget_get_allocated_height(widget))};
    paintTitleBarButton(cr, chrome::TitleBarButton::miniLight, bounds, light->look_, light->rowHovered_);
    return FALSE;
}

gboolean GtkMiniLight::onPress(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* light = static_cast<GtkMiniLight*>(self);
    if (event->button != GDK_BUTTON_PRIMARY) return FALSE;
    light->look_.pressed = true;
    gtk_widget_queue_draw(light->area_);
    return TRUE;
}

// A press released outside the button is no click, and clears the pressed look all the same.
gboolean GtkMiniLight::onRelease(GtkWidget* widget, GdkEventButton* event, gpointer self) {
    auto* light = static_cast<GtkMiniLight*>(self);
    if (!std::exchange(light->look_.pressed, false)) return FALSE;
    gtk_widget_queue_draw(widget);
    bool inside = event->x >= 0 && event->y >= 0 && event->x < gtk_widget_get_allocated_width(widget) &&
                  event->y < gtk_widget_get_allocated_height(widget);
    if (inside) light->clicked_();
    return TRUE;
}

gboolean GtkMiniLight::onCrossing(GtkWidget*, GdkEventCrossing* event, gpointer self) {
    // Crossings into and out of its own child windows are no hover changes.
    if (event->detail == GDK_NOTIFY_INFERIOR) return FALSE;
    static_cast<GtkMiniLight*>(self)->hoverChanged_(event->type == GDK_ENTER_NOTIFY);
    return FALSE;
}

} // namespace vimbo::linuxdesktop
