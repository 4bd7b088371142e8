#pragma once

#include <functional>
#include <memory>

namespace vimbo::platform {

// A repeating timer; destroying it stops it for good.
class RepeatingTimer {
  public:
    virtual ~RepeatingTimer() = default;
};

// Repeating timers on the main loop. Main thread.
class Timers {
  public:
    virtual ~Timers() = default;

    // `action` runs on the main thread about every `interval` seconds, at multiples of the interval
    // from now; frames missed while the thread was busy are skipped, not run in a burst.
    virtual std::unique_ptr<RepeatingTimer> repeat(double interval, std::function<void()> action) = 0;
};

} // namespace vimbo::platform
