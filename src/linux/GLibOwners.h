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

// One reference to a GVariant, dropped with g_variant_unref.
struct GVariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
using GVariantPtr = std::unique_ptr<GVariant, GVariantUnref>;

// An error GLib reported, freed with g_error_free.
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

// Passes a GError** to a GLib call and hands whatever it sets to `owner` at the end of the
// statement: g_call(..., GErrorOut(error)).
class GErrorOut {
  public:
    explicit GErrorOut(GErrorPtr& owner) : owner_(owner) {}
    ~GErrorOut() { owner_.reset(error_); }
    GErrorOut(const GErrorOut&) = delete;
    GErrorOut& operator=(const GErrorOut&) = delete;
    operator GError**() { return &error_; }

  private:
    GErrorPtr& owner_;
    GError* error_ = nullptr;
};

} // namespace vimbo::linuxdesktop
