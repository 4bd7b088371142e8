#pragma once

#include "core/audio/AudioCaptureStatus.h"
#include "core/platform/DefaultAudioDevices.h"
#include "core/util/ThreadChecker.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vimbo::app {

// Follows the default output and input devices and reports each real change once: a notification
// that leaves a device's identifier unchanged is ignored.
class DefaultDeviceListeners : public std::enable_shared_from_this<DefaultDeviceListeners> {
  public:
    using Log = std::function<void(const std::string&)>;
    using OnChange = std::function<void(audio::AudioDeviceChange)>;

    // `devices` must outlive the listeners.
    DefaultDeviceListeners(platform::DefaultAudioDevices& devices, Log log, OnChange onChange);

    // Main thread: records the current devices, then listens (holding the listeners weakly).
    void install();

  private:
    void checkOutput();
    void checkInput();
    // True when `current` differs from `last`, which then takes its value.
    bool changed(std::optional<std::string>& last, const std::optional<std::string>& current,
                 const char* what);

    platform::DefaultAudioDevices& devices_;
    Log log_;
    OnChange onChange_;
    std::optional<std::string> lastOutputUID_;
    std::optional<std::string> lastInputUID_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::app
