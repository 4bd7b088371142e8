#include "linux/PulseDefaultDevices.h"

namespace vimbo::linuxdesktop {

std::shared_ptr<PulseDefaultDevices> PulseDefaultDevices::create(platform::MainQueue& mainQueue) {
    auto devices = std::make_shared<PulseDefaultDevices>(mainQueue);
    devices->worker_->sync([&devices] {
        devices->connect();
        devices->names_ = devices->published_; // the first reader has them at once
    });
    return devices;
}

std::optional<std::string> PulseDefaultDevices::currentDefaultOutputUID() {
    mainThread_.check();
    return names_.sinkName;
}

std::optional<std::string> PulseDefaultDevices::currentDefaultInputUID() {
    mainThread_.check();
    return names_.sourceName;
}

void PulseDefaultDevices::listen(std::function<void()> onChange) {
    mainThread_.check();
    onChange_ = std::move(onChange);
}

std::function<void()> PulseDefaultDevices::onWorker(void (PulseDefaultDevices::*step)()) {
    return [weak = weak_from_this(), worker = std::weak_ptr(worker_), step] {
        if (auto queue = worker.lock()) {
            queue->async([weak, step] {
                if (auto self = weak.lock()) ((*self).*step)();
            });
        }
    };
}

void PulseDefaultDevices::connect() {
    if (context_) return;
    int error = 0;
    context_ = PulseContext::connect("Vimbo devices", error);
    if (!context_) return scheduleReconnect();
    // The loop thread only hands over to this one.
    context_->setOnDisconnected(onWorker(&PulseDefaultDevices::lost));
    if (!context_->subscribeToServerChanges(onWorker(&PulseDefaultDevices::refresh))) {
        context_.reset();
        return scheduleReconnect();
    }
    refresh();
}

void PulseDefaultDevices::refresh() {
    if (!context_) return;
    auto names = context_->serverDefaults();
    if (!names) return; // the server is going away (`lost` follows) or does not answer
    publish(std::move(*names));
}

void PulseDefaultDevices::lost() {
    if (!context_) return;
    context_.reset();
    publish({});
    scheduleReconnect();
}

void PulseDefaultDevices::scheduleReconnect() {
    mainQueue_.postAfter(kReconnectDelay, onWorker(&PulseDefaultDevices::connect));
}

void PulseDefaultDevices::publish(Names names) {
    published_ = names;
    mainQueue_.post([weak = weak_from_this(), names = std::move(names)] {
        auto self = weak.lock();
        if (!self) return;
        self->names_ = names;
        if (self->onChange_) self->onChange_();
    });
}

} // namespace vimbo::linuxdesktop
