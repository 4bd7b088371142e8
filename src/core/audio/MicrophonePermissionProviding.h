#pragma once

#include <functional>

namespace vimbo::audio {

// Asks for access to the microphone; the completion may run on any thread, the caller's included.
class MicrophonePermissionProviding {
  public:
    virtual ~MicrophonePermissionProviding() = default;
    virtual void requestAccess(std::function<void(bool granted)> completion) = 0;
};

} // namespace vimbo::audio
