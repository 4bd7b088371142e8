#pragma once

#include <functional>
#include <optional>
#include <string>

namespace vimbo::platform {

// The system's default output and input devices, named by their unique identifiers.
class DefaultAudioDevices {
  public:
    virtual ~DefaultAudioDevices() = default;

    // Main thread. No value when there is no such device (or no sound server).
    virtual std::optional<std::string> currentDefaultOutputUID() = 0;
    virtual std::optional<std::string> currentDefaultInputUID() = 0;
    // Main thread: `onChange` runs on the main thread whenever either default may have changed,
    // for as long as the listener lives. One listener; a later call replaces it.
    virtual void listen(std::function<void()> onChange) = 0;
};

} // namespace vimbo::platform
