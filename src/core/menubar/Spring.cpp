#include "core/menubar/Spring.h"

#include <algorithm>

namespace vimbo::menubar {

void Spring::update(double target, double deltaTime) {
    if (!(deltaTime > 0)) return;
    double h = std::min(deltaTime, kMaximumStep);
    velocity = velocity + h * (stiffness * (target - value) - damping * velocity);
    value = value + h * velocity;
}

} // namespace vimbo::menubar
