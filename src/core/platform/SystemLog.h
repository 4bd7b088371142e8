#pragma once

#include <string_view>

namespace vimbo::platform {

// The platform's system log (the journal on Linux); every line begins with the product name.
class SystemLog {
  public:
    virtual ~SystemLog() = default;

    // A line about what the program does.
    virtual void write(std::string_view line) = 0;
    // A line about a failure the program went on without.
    virtual void warn(std::string_view line) = 0;
};

} // namespace vimbo::platform
