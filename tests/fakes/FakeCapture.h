#pragma once

#include "core/audio/AudioCapturing.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

namespace vimbo::fakes {

// A capture back-end that starts or fails as told and records what was asked of it.
class FakeCapture : public audio::AudioCapturing {
  public:
    explicit FakeCapture(std::optional<audio::AudioCaptureError> startError = std::nullopt)
        : startError_(std::move(startError)) {}

    bool isRunning() const override { return running_; }
    void setOnInterrupted(std::function<void()> onInterrupted) override {
        std::lock_guard guard(mutex_);
        onInterrupted_ = std::move(onInterrupted);
    }
    std::optional<audio::AudioCaptureError> start(std::weak_ptr<audio::AudioBufferConsumer>) override {
        ++starts;
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
        std::function<void()> callback;
        {
            std::lock_guard guard(mutex_);
            callback = onInterrupted_;
        }
        if (callback) callback();
    }

    std::atomic<int> starts{0};
    std::atomic<int> stops{0};

  private:
    std::optional<audio::AudioCaptureError> startError_;
    std::atomic<bool> running_{false};
    std::mutex mutex_;
    std::function<void()> onInterrupted_;
};

} // namespace vimbo::fakes
