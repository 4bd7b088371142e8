#include "core/app/ReloadBackoff.h"

#include <algorithm>

namespace vimbo::app {

double ReloadBackoff::delayAfterCrash(double now) {
    const bool calm = crashesInARow_ == 0 || now - lastCrash_ >= kCalmAfter;
    crashesInARow_ = calm ? 1 : crashesInARow_ + 1;
    lastCrash_ = now;
    double delay = kFirstDelay;
    for (int crash = 1; crash < crashesInARow_ && delay < kLongestDelay; ++crash)
        delay *= 2;
    return std::min(delay, kLongestDelay);
}

} // namespace vimbo::app
