#include "core/app/DefaultDeviceListeners.h"

namespace vimbo::app {

DefaultDeviceListeners::DefaultDeviceListeners(platform::DefaultAudioDevices& devices, Log log,
                                               OnChange onChange)
    : devices_(devices), log_(std::move(log)), onChange_(std::move(onChange)) {}

void DefaultDeviceListeners::install() {
    mainThread_.check();
    lastOutputUID_ = devices_.currentDefaultOutputUID();
    lastInputUID_ = devices_.currentDefaultInputUID();
    devices_.listen([weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self) return;
        self->checkOutput();
        self->checkInput();
    });
}

void DefaultDeviceListeners::checkOutput() {
    mainThread_.check();
    if (changed(lastOutputUID_, devices_.currentDefaultOutputUID(), "default output changed to ")) {
        onChange_(audio::AudioDeviceChange::defaultOutput);
    }
}

void DefaultDeviceListeners::checkInput() {
    mainThread_.check();
    if (changed(lastInputUID_, devices_.currentDefaultInputUID(), "default input changed to ")) {
        onChange_(audio::AudioDeviceChange::defaultInput);
    }
}

bool DefaultDeviceListeners::changed(std::optional<std::string>& last,
                                     const std::optional<std::string>& current, const char* what) {
    if (current == last) return false;
    last = current;
    log_(what + current.value_or("?"));
    return true;
}

} // namespace vimbo::app
