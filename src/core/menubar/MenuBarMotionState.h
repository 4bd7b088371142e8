#pragma once

#include "core/menubar/MenuBarAudioFrame.h"

namespace vimbo::menubar {

// Smooths the analyser's features for the icon: fast rise, slow fall, instant beat with a decay.
struct MenuBarMotionState {
    static constexpr double kRiseRate = 22;
    static constexpr double kFallRate = 5.5;
    static constexpr double kBeatRelease = 8.5;

    MenuBarAudioFrame current;

    // Returns the new current frame; with reactive off, the all-zero frame.
    MenuBarAudioFrame update(const MenuBarAudioFrame& target, bool reactive, double deltaTime);
};

} // namespace vimbo::menubar
