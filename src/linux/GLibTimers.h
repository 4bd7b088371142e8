#pragma once

#include "core/platform/Timers.h"

namespace vimbo::linux {

// Repeating timers on the GLib main context whose deadlines fall on exact multiples of the interval
// from the start on the monotonic clock, so the rate does not drift with the loop's own latency.
class GLibTimers : public platform::Timers {
  public:
    std::unique_ptr<platform::RepeatingTimer> repeat(double interval, std::function<void()> action) override;
};

} // namespace vimbo::linux
