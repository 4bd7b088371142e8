#pragma once

namespace vimbo::platform {

// A monotonic clock in seconds, for time-based animation and analysis.
class Clock {
  public:
    virtual ~Clock() = default;

    virtual double now() const = 0;
};

} // namespace vimbo::platform
