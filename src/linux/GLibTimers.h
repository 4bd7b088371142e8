#pragma once

#include "core/platform/Timers.h"

#include <cstdint>

namespace vimbo::linuxdesktop {

// Repeating timers on the GLib main context whose deadlines fall on exact multiples of the interval
// from the start on the monotonic clock, so the rate does not drift with the loop's own latency.
class GLibTimers : public platform::Timers {
  public:
    std::unique_ptr<platform::RepeatingTimer> repeat(double interval, std::function<void()> action) override;
};

// The frame whose deadline (start + frame x interval, in microseconds) comes next after `now`, never
// before `lastFrame` + 1: a loop that was busy for several intervals resumes on the grid, skipping
// the frames it missed instead of running them in a burst.
std::int64_t nextFrameAfter(std::int64_t lastFrame, std::int64_t start, double interval, std::int64_t now);

} // namespace vimbo::linuxdesktop
