#pragma once

#include <gtk/gtk.h>

namespace vimbo::linuxdesktop {

// A borderless window has no frame to pull on: a thin band along its edges, over everything else,
// shows the resize cursors and hands a press to the window manager as a resize from that edge.
class GtkResizeEdges {
  public:
    GtkResizeEdges();
    ~GtkResizeEdges();
    GtkResizeEdges(const GtkResizeEdges&) = delete;
    GtkResizeEdges& operator=(const GtkResizeEdges&) = delete;

    // To be added as an overlay over the window's content.
    GtkWidget* widget() const { return box_; }

  private:
    static void onSizeAllocate(GtkWidget* widget, GdkRectangle* allocation, gpointer self);
    static gboolean onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean onPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    void applyShape();
    // The edge under a point of the window, or false where there is none (also in full screen).
    bool edgeAt(double x, double y, GdkWindowEdge& edge) const;

    GtkWidget* box_;
};

} // namespace vimbo::linuxdesktop
