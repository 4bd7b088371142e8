#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::platform {

// The desktop's top-level windows as seen from outside their applications.
class ApplicationWindows {
  public:
    virtual ~ApplicationWindows() = default;

    // The process of the application whose window is active, if the desktop tells.
    virtual std::optional<std::int32_t> frontmostProcess() = 0;
    // The titles of a process's windows, the most recently raised first.
    virtual std::vector<std::string> windowTitles(std::int32_t pid) = 0;
};

} // namespace vimbo::platform
