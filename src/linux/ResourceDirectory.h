#pragma once

#include <optional>
#include <string>

namespace vimbo::linuxdesktop {

// Where web/index.html lives: $VIMBO_RESOURCE_DIR when set, else share/vimbo beside the installed
// program, else the source tree the program was built from. None when no candidate holds the page.
std::optional<std::string> resourceDirectory();

// The folder holding the program's WebKit web process extension: the installed one beside the
// program, else the build tree's. None when neither holds it.
std::optional<std::string> webExtensionDirectory();

} // namespace vimbo::linuxdesktop
