#pragma once

#include "core/audio/MicrophonePermissionProviding.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace vimbo::fakes {

// Holds every permission request until the test answers it, or answers at once when told to.
class FakeMicrophonePermission : public audio::MicrophonePermissionProviding {
  public:
    void requestAccess(std::function<void(bool)> completion) override {
        ++requests;
        if (const int atOnce = atOnce_; atOnce != kHold) return completion(atOnce == 1);
        std::lock_guard guard(mutex_);
        pending_.push_back(std::move(completion));
    }

    void answerAtOnce(bool granted) { atOnce_ = granted ? 1 : 0; }
    // Answers every held request, as the system would on its own thread.
    void answerPending(bool granted) {
        std::vector<std::function<void(bool)>> batch;
        {
            std::lock_guard guard(mutex_);
            batch.swap(pending_);
        }
        for (auto& completion : batch)
            completion(granted);
    }

    std::atomic<int> requests{0};

  private:
    std::mutex mutex_;
    static constexpr int kHold = -1;
    std::atomic<int> atOnce_{kHold};
    std::vector<std::function<void(bool)>> pending_;
};

} // namespace vimbo::fakes
