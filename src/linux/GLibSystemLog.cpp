#include "linux/GLibSystemLog.h"

#include "core/util/LogText.h"

#include <glib.h>

namespace vimbo::linuxdesktop {

// The adapters are built with the log domain "Vimbo", so the journal files these lines under it.
void GLibSystemLog::write(std::string_view line) {
    g_message("%s", util::printableLogText(line).c_str());
}

void GLibSystemLog::warn(std::string_view line) {
    g_warning("%s", util::printableLogText(line).c_str());
}

} // namespace vimbo::linuxdesktop
