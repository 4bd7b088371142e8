#pragma once

#include "core/platform/TemplateImage.h"

namespace vimbo::menubar {

inline constexpr double kMenuBarIconSize = 18;

// The 18 x 18 point status icon.
using MenuBarIconImage = platform::TemplateImage;

} // namespace vimbo::menubar
