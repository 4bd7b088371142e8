#pragma once

#include "core/platform/MainQueue.h"

#include <mutex>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// A main queue that runs nothing until the test says so; delayed work keeps its delay for inspection.
class ManualMainQueue : public platform::MainQueue {
  public:
    void post(std::function<void()> work) override { postAfter(0, std::move(work)); }
    void postAfter(double seconds, std::function<void()> work) override {
        std::lock_guard guard(mutex_);
        entries_.emplace_back(seconds, std::move(work));
    }

    std::vector<double> pendingDelays() const {
        std::lock_guard guard(mutex_);
        std::vector<double> delays;
        for (auto& [delay, work] : entries_)
            delays.push_back(delay);
        return delays;
    }
    // Runs what is queued now; work it posts waits for the next call.
    void runPending() {
        std::vector<Entry> batch;
        {
            std::lock_guard guard(mutex_);
            batch.swap(entries_);
        }
        for (auto& [delay, work] : batch)
            work();
    }

  private:
    using Entry = std::pair<double, std::function<void()>>; // the delay and the work
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

} // namespace vimbo::fakes
