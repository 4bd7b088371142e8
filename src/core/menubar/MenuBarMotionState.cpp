#include "core/menubar/MenuBarMotionState.h"

#include <algorithm>
#include <cmath>

namespace vimbo::menubar {

MenuBarAudioFrame MenuBarMotionState::update(const MenuBarAudioFrame& target, bool reactive,
                                             double deltaTime) {
    if (!reactive) {
        current = {};
        return current;
    }
    const double h = deltaTime <= 1.0 / 240.0 ? 1.0 / 240.0 : std::min(deltaTime, 0.1);
    auto approach = [h](double& value, double goal) {
        double rate = value < goal ? kRiseRate : kFallRate;
        value = value + (goal - value) * (1 - std::exp(-rate * h));
    };
    approach(current.level, target.level);
    approach(current.bass, target.bass);
    approach(current.mid, target.mid);
    approach(current.treble, target.treble);
    approach(current.energy, target.energy);
    current.beat = std::max(target.beat, current.beat * std::exp(-kBeatRelease * h));
    return current;
}

} // namespace vimbo::menubar
