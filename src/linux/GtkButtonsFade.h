#pragma once

#include <gtk/gtk.h>

#include <utility>
#include <vector>

namespace vimbo::linuxdesktop {

// Fades the title-bar buttons' widgets to an opacity over a time, on the frame clock of the first.
// The buttons lie over the page, so the page below them is redrawn with every step; otherwise a fading
// button blends toward the window's background instead of the page. Main thread.
class GtkButtonsFade {
  public:
    // `buttons` and `below` outlive the fade.
    GtkButtonsFade(std::vector<GtkWidget*> buttons, GtkWidget* below, int rowHeight)
        : buttons_(std::move(buttons)), below_(below), rowHeight_(rowHeight) {}
    ~GtkButtonsFade();
    GtkButtonsFade(const GtkButtonsFade&) = delete;
    GtkButtonsFade& operator=(const GtkButtonsFade&) = delete;

    // A new fade starts from wherever the current one has got to.
    void fadeTo(double opacity, double seconds);

  private:
    static gboolean onTick(GtkWidget* widget, GdkFrameClock* clock, gpointer self);
    void apply(double opacity);

    std::vector<GtkWidget*> buttons_;
    GtkWidget* below_;
    int rowHeight_;
    double from_ = 1.0;
    double to_ = 1.0;
    double seconds_ = 0;
    gint64 start_ = -1; // frame time of the first step, microseconds
    guint tick_ = 0;
};

} // namespace vimbo::linuxdesktop
