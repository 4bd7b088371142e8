#pragma once

#include <optional>
#include <string>

namespace vimbo::linux {

// Where web/index.html lives: $VIMBO_RESOURCE_DIR when set, else share/vimbo beside the installed
// program, else the source tree the program was built from. None when no candidate holds the page.
std::optional<std::string> resourceDirectory();

} // namespace vimbo::linux
