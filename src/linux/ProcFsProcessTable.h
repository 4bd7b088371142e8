#pragma once

#include "core/platform/ProcessTable.h"

namespace vimbo::linuxdesktop {

// Processes as /proc shows them.
class ProcFsProcessTable : public platform::ProcessTable {
  public:
    // Any thread.
    std::optional<platform::ProcessEntry> entry(std::int32_t pid) override;
};

} // namespace vimbo::linuxdesktop
