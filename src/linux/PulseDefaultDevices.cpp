#include "linux/PulseDefaultDevices.h"

namespace vimbo::linuxdesktop {

std::shared_ptr<PulseDefaultDevices> PulseDefaultDevices::create(platform::MainQueue& mainQueue) {
    auto devices = std::make_shared<PulseDefaultDevices>(mainQueue);
    devices->connect();
    return devices;
}

void PulseDefaultDevices::connect() {
    mainThread_.check();
    int error = 0;
    context_ = PulseContext::connect("Vimbo devices", error);
    if (!context_) return scheduleReconnect();
    // The loop thread only hands over to the main thread.
    auto onMain = [weak = weak_from_this(), &mainQueue = mainQueue_](void (PulseDefaultDevices::*step)()) {
        return [weak, &mainQueue, step] {
            mainQueue.post([weak, step] {
                if (auto self = weak.lock()) ((*self).*step)();
            });
        };
    };
    context_->setOnDisconnected(onMain(&PulseDefaultDevices::lost));
    if (!context_->subscribeToServerChanges(onMain(&PulseDefaultDevices::refresh))) {
        context_.reset();
        return scheduleReconnect();
    }
    refresh();
}

void PulseDefaultDevices::refresh() {
    mainThread_.check();
    if (!context_) return;
    auto defaults = context_->serverDefaults();
    if (!defaults) return; // the server is going away; `lost` follows
    defaults_ = std::move(*defaults);
    notify();
}

void PulseDefaultDevices::lost() {
    mainThread_.check();
    if (!context_) return;
    context_.reset();
    defaults_ = {};
    notify();
    scheduleReconnect();
}

void PulseDefaultDevices::scheduleReconnect() {
    mainQueue_.postAfter(kReconnectDelay, [weak = weak_from_this()] {
        if (auto self = weak.lock(); self && !self->context_) self->connect();
    });
}

void PulseDefaultDevices::notify() {
    if (onChange_) onChange_();
}

} // namespace vimbo::linuxdesktop
