#pragma once

#include "core/platform/SystemLog.h"

namespace vimbo::linuxdesktop {

// System log lines through GLib's log, which reaches the journal.
class GLibSystemLog : public platform::SystemLog {
  public:
    void write(std::string_view line) override;
    void warn(std::string_view line) override;
};

} // namespace vimbo::linuxdesktop
