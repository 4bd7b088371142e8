#pragma once

#include "core/platform/Clock.h"

namespace vimbo::linuxdesktop {

// CLOCK_MONOTONIC through GLib, in seconds.
class MonotonicClock : public platform::Clock {
  public:
    double now() const override;
};

} // namespace vimbo::linuxdesktop
