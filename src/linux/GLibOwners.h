#pragma once

#include <glib-object.h>

#include <memory>

namespace vimbo::linuxdesktop {

// Text GLib allocated for the caller, freed with g_free.
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GText = std::unique_ptr<gchar, GFree>;

// One reference to a GObject, dropped with g_object_unref.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

} // namespace vimbo::linuxdesktop
