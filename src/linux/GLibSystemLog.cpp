#include "linux/GLibSystemLog.h"

#include <glib.h>

namespace vimbo::linuxdesktop {

void GLibSystemLog::write(std::string_view line) {
    g_message("%.*s", static_cast<int>(line.size()), line.data());
}

} // namespace vimbo::linuxdesktop
