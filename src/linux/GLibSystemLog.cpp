#include "linux/GLibSystemLog.h"

#include <glib.h>

namespace vimbo::linuxdesktop {

// The adapters are built with the log domain "Vimbo", so the journal files these lines under it.
void GLibSystemLog::write(std::string_view line) {
    g_message("%.*s", static_cast<int>(line.size()), line.data());
}

void GLibSystemLog::warn(std::string_view line) {
    g_warning("%.*s", static_cast<int>(line.size()), line.data());
}

} // namespace vimbo::linuxdesktop
