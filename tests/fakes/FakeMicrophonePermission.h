#pragma once

#include "core/audio/MicrophonePermissionProviding.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

namespace vimbo::fakes {

// Holds every permission request until the test answers it, or answers at once when told to.
class FakeMicrophonePermission : public audio::MicrophonePermissionProviding {
  public:
    void requestAccess(std::function<void(bool)> completion) override {
        std::unique_lock guard(mutex_);
        ++requests;
        if (!answerAtOnce_) return pending_.push_back(std::move(completion));
        const bool granted = *answerAtOnce_;
        guard.unlock();
        completion(granted);
    }

    void answerAtOnce(bool granted) {
        std::lock_guard guard(mutex_);
        answerAtOnce_ = granted;
    }
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
    std::optional<bool> answerAtOnce_;
    std::vector<std::function<void(bool)>> pending_;
};

} // namespace vimbo::fakes
