#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vimbo::app {

// Whether a program that crashed is started again. WebKit ends the whole program when a web process
// dies while its replacement is being launched, which the program cannot catch; starting it again
// keeps the window on screen. A crash at start-up must not loop, so at most three restarts within
// five minutes are made.
class RelaunchPolicy {
  public:
    static constexpr int kMostRestarts = 3;
    static constexpr long long kWindowSeconds = 300;

    // `history`: the times (whole seconds on a clock that only grows) of the earlier restarts, as the
    // crashed run inherited them ("t1,t2"); anything unreadable in it is ignored. Returns the history
    // to hand to the restarted program, or none when the program should stay down.
    static std::optional<std::string> restartHistory(std::string_view history, long long now);
};

} // namespace vimbo::app
