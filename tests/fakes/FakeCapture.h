#pragma once

#include "core/audio/AudioCapturing.h"

#include <atomic>
#include <functional>
#include <optional>

namespace vimbo::fakes {

// A capture back-end that starts or fails as told and counts its stops.
class FakeCapture : public audio::AudioCapturing {
  public:
    explicit FakeCapture(std::optional<audio::AudioCaptureError> startError = std::nullopt)
        : startError_(std::move(startError)) {}

    bool isRunning() const override { return running_; }
    // Set before start, so reading it later from another thread needs no lock.
    void setOnInterrupted(std::function<void()> onInterrupted) override {
        onInterrupted_ = std::move(onInterrupted);
    }
    std::optional<audio::AudioCaptureError> start(std::weak_ptr<audio::AudioBufferConsumer>) override {
        running_ = !startError_;
        return startError_;
    }
    void stop() override {
        ++stops;
        running_ = false;
    }

    // As the back-end's own thread would: stops delivering and reports it.
    void interrupt() {
        running_ = false;
        if (onInterrupted_) onInterrupted_();
    }

    std::atomic<int> stops{0};

  private:
    std::optional<audio::AudioCaptureError> startError_;
    std::atomic<bool> running_{false};
    std::function<void()> onInterrupted_;
};

} // namespace vimbo::fakes
