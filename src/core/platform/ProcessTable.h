#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimbo::platform {

// What the system tells about one running process.
struct ProcessEntry {
    std::int32_t parent = 0;
    std::string executable;       // the file name of its program, without folders
    bool applicationMode = false; // a browser showing one site as an application of its own
};

class ProcessTable {
  public:
    virtual ~ProcessTable() = default;

    // No value for a process that is gone or cannot be read.
    virtual std::optional<ProcessEntry> entry(std::int32_t pid) = 0;
};

} // namespace vimbo::platform
