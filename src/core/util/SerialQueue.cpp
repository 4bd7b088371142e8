#include "core/util/SerialQueue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace vimbo::util {

struct SerialQueue::State {
    std::string label;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    bool stopping = false;
    std::thread worker;

    void run() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock guard(mutex);
                wake.wait(guard, [this] { return stopping || !tasks.empty(); });
                if (tasks.empty()) return; // stopping, and everything queued has run
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
    }
};

SerialQueue::SerialQueue(std::string label) : state_(std::make_shared<State>()) {
    state_->label = std::move(label);
    // The worker shares the state so that it can outlive the queue when the queue is destroyed by one
    // of its own tasks.
    state_->worker = std::thread([state = state_] { state->run(); });
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard guard(state_->mutex);
        state_->stopping = true;
    }
    state_->wake.notify_one();
    // Queued work holds its owner weakly, so the last reference may drop inside a task. The worker
    // cannot join itself: it finishes draining on its own and then ends.
    if (isCurrent()) {
        state_->worker.detach();
    } else {
        state_->worker.join();
    }
}

const std::string& SerialQueue::label() const {
    return state_->label;
}

void SerialQueue::async(std::function<void()> task) {
    {
        std::lock_guard guard(state_->mutex);
        state_->tasks.push_back(std::move(task));
    }
    state_->wake.notify_one();
}

void SerialQueue::sync(const std::function<void()>& task) {
    if (isCurrent()) {
        task();
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    async([&] {
        task();
        std::lock_guard guard(doneMutex);
        done = true;
        doneSignal.notify_one();
    });
    std::unique_lock guard(doneMutex);
    doneSignal.wait(guard, [&] { return done; });
}

bool SerialQueue::isCurrent() const {
    return std::this_thread::get_id() == state_->worker.get_id();
}

} // namespace vimbo::util
