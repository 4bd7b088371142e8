#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vimbo::util {

// A labelled serial queue: one worker thread runs the tasks one at a time, in the order given.
// Destruction runs every task already queued, then joins the worker; destroyed by one of its own
// tasks, the queue lets the worker drain the rest and end by itself.
class SerialQueue {
  public:
    explicit SerialQueue(std::string label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const;

    // Queues the task and returns at once. Callable from any thread, the worker included.
    void async(std::function<void()> task);
    // Runs the task on the worker after everything queued before it, and waits for it.
    // Called on the worker itself, the task runs inline (a serial queue cannot wait for itself).
    void sync(const std::function<void()>& task);
    // True on this queue's worker thread.
    bool isCurrent() const;

  private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace vimbo::util
