#pragma once

#include <cstdint>

namespace vimbo::platform {

// What an activity holds off while it runs.
enum class ActivityKind {
    displaySleep, // the user watches the visuals: keep the screen on
    systemSleep,  // an export is running: keep the machine from suspending
};

// Process activities that keep the display or the system awake. Main thread.
class KeepAwake {
  public:
    using Token = std::uint32_t;

    virtual ~KeepAwake() = default;

    virtual Token begin(ActivityKind kind, const char* reason) = 0;
    virtual void end(Token token) = 0;
};

} // namespace vimbo::platform
