#pragma once

#include <functional>

namespace vimbo::platform {

// The main thread's queue: work posted from any thread runs later on the main thread, in order.
class MainQueue {
public:
    virtual ~MainQueue() = default;

    virtual void post(std::function<void()> work) = 0;
    virtual void postAfter(double seconds, std::function<void()> work) = 0;
};

} // namespace vimbo::platform
