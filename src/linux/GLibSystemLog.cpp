#include "linux/GLibSystemLog.h"

#include <glib.h>

namespace vimbo::linux {

void GLibSystemLog::write(std::string_view line) {
    g_message("%.*s", static_cast<int>(line.size()), line.data());
}

} // namespace vimbo::linux
