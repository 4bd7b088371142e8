#include "linux/OpenGlRenderer.h"

#include <epoxy/gl.h>

#include <array>
#include <string_view>

namespace vimbo::linuxdesktop {

std::optional<std::string> openGlRenderer(GdkDisplay* display) {
    if (!display) return std::nullopt;
    // A context needs a window; this one is never shown.
    GdkWindowAttr attributes{};
    attributes.window_type = GDK_WINDOW_TOPLEVEL;
    attributes.wclass = GDK_INPUT_OUTPUT;
    attributes.width = 1;
    attributes.height = 1;
    GdkWindow* probe =
        gdk_window_new(gdk_screen_get_root_window(gdk_display_get_default_screen(display)), &attributes, 0);
    std::optional<std::string> renderer;
    GError* error = nullptr;
    GdkGLContext* context = gdk_window_create_gl_context(probe, &error);
    if (context && gdk_gl_context_realize(context, &error)) {
        gdk_gl_context_make_current(context);
        if (const auto* name = glGetString(GL_RENDERER)) renderer = reinterpret_cast<const char*>(name);
        gdk_gl_context_clear_current();
    }
    if (error) g_error_free(error);
    if (context) g_object_unref(context);
    gdk_window_destroy(probe);
    return renderer;
}

bool rendersInSoftware(std::string_view renderer) {
    constexpr std::array<std::string_view, 4> rasterizers{"llvmpipe", "softpipe", "swrast",
                                                          "Software Rasterizer"};
    for (auto rasterizer : rasterizers) {
        if (renderer.find(rasterizer) != std::string_view::npos) return true;
    }
    return false;
}

} // namespace vimbo::linuxdesktop
