#pragma once

#include <glib.h>

#include <memory>

namespace vimbo::linux {

// Text GLib allocated for the caller, freed with g_free.
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using GText = std::unique_ptr<gchar, GFree>;

} // namespace vimbo::linux
