#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <string_view>

namespace vimbo::linuxdesktop {

// The name of the OpenGL renderer GDK gets on `display` ("llvmpipe (LLVM 15.0.6, 256 bits)", "AMD
// Radeon ..."), or nullopt when no OpenGL context can be made there.
std::optional<std::string> openGlRenderer(GdkDisplay* display);

// Whether `renderer` names one of Mesa's CPU rasterizers rather than a GPU.
bool rendersInSoftware(std::string_view renderer);

} // namespace vimbo::linuxdesktop
