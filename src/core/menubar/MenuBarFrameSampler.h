#pragma once

#include <optional>

namespace vimbo::menubar {

// Limits the icon to one rendered frame per 1/60 s, whatever the tick rate; beats seen on skipped
// ticks are kept for the next rendered frame.
struct MenuBarFrameSampler {
    struct Frame {
        double deltaTime;
        float beat;
    };

    static constexpr double kMaximumDeltaTime = 0.1;
    static constexpr double kTolerance = 0.000001;

    double minimumInterval = 1.0 / 60.0;
    std::optional<double> lastRenderTime;
    float pendingBeat = 0;

    // The frame to render now, or nothing when this tick is skipped.
    std::optional<Frame> sample(double now, float beat);
};

} // namespace vimbo::menubar
