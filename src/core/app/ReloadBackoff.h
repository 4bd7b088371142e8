#pragma once

namespace vimbo::app {

// How long to wait before loading the page again after its web process died. Reloading at once
// lets a process that dies at start crash in a tight loop (and WebKit aborts the program when a web
// process dies while its replacement is being launched), so each crash soon after the last one
// doubles the wait, from half a second up to thirty; a crash a minute after the last starts over.
class ReloadBackoff {
  public:
    static constexpr double kFirstDelay = 0.5;
    static constexpr double kLongestDelay = 30;
    static constexpr double kCalmAfter = 60;

    // `now`: seconds on a monotonic clock. Returns the seconds to wait before reloading.
    double delayAfterCrash(double now);

  private:
    int crashesInARow_ = 0;
    double lastCrash_ = 0;
};

} // namespace vimbo::app
