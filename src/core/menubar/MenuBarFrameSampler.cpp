#include "core/menubar/MenuBarFrameSampler.h"

#include <algorithm>

namespace vimbo::menubar {

std::optional<MenuBarFrameSampler::Frame> MenuBarFrameSampler::sample(double now, float beat) {
    pendingBeat = std::max(pendingBeat, beat);
    double dt = minimumInterval;
    if (lastRenderTime) {
        double elapsed = now - *lastRenderTime;
        if (elapsed < minimumInterval - kTolerance) return std::nullopt;
        dt = std::min(elapsed, kMaximumDeltaTime);
    }
    lastRenderTime = now;
    Frame frame{dt, pendingBeat};
    pendingBeat = 0;
    return frame;
}

} // namespace vimbo::menubar
