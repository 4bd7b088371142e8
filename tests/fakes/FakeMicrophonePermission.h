#pragma once

#include "core/audio/MicrophonePermissionProviding.h"

#include <mutex>
#include <optional>
#include <vector>

namespace vimbo::fakes {

// Holds every permission request until the test answers it, or answers at once when told to.
class FakeMicrophonePermission : public audio::MicrophonePermissionProviding {
  public:
    void requestAccess(std::function<void(bool)> completion) override {
        std::unique_lock guard(mutex_);
        ++requests_;
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
    int requests() const {
        std::lock_guard guard(mutex_);
        return requests_;
    }

  private:
    mutable std::mutex mutex_;
    int requests_ = 0;
    std::optional<bool> answerAtOnce_;
    std::vector<std::function<void(bool)>> pending_;
};

} // namespace vimbo::fakes
