#include "linux/GtkButtonsFade.h"

#include <algorithm>

namespace vimbo::linuxdesktop {

GtkButtonsFade::~GtkButtonsFade() {
    if (tick_) gtk_widget_remove_tick_callback(buttons_.front(), tick_);
}

void GtkButtonsFade::fadeTo(double opacity, double seconds) {
    if (tick_) gtk_widget_remove_tick_callback(buttons_.front(), std::exchange(tick_, 0));
    from_ = gtk_widget_get_opacity(buttons_.front());
    to_ = opacity;
    seconds_ = seconds;
    start_ = -1;
    // Tick callbacks only run while the widget is mapped; a hidden window takes the end value at once.
    if (seconds <= 0 || !gtk_widget_get_mapped(buttons_.front())) {
        apply(opacity);
        return;
    }
    tick_ = gtk_widget_add_tick_callback(buttons_.front(), onTick, this, nullptr);
}

gboolean GtkButtonsFade::onTick(GtkWidget*, GdkFrameClock* clock, gpointer self) {
    auto* fade = static_cast<GtkButtonsFade*>(self);
    gint64 now = gdk_frame_clock_get_frame_time(clock);
    if (fade->start_ < 0) fade->start_ = now;
    double progress = std::min(1.0, double(now - fade->start_) / (fade->seconds_ * G_USEC_PER_SEC));
    fade->apply(fade->from_ + (fade->to_ - fade->from_) * progress);
    if (progress < 1.0) return G_SOURCE_CONTINUE;
    fade->tick_ = 0;
    return G_SOURCE_REMOVE;
}

void GtkButtonsFade::apply(double opacity) {
    for (GtkWidget* button : buttons_)
        gtk_widget_set_opacity(button, opacity);
    gtk_widget_queue_draw_area(below_, 0, 0, gtk_widget_get_allocated_width(below_), rowHeight_);
}

} // namespace vimbo::linuxdesktop
