#pragma once

namespace vimbo::menubar {

// A damped spring integrated with semi-implicit Euler; steps longer than 1/15 s are cut to 1/15 s.
struct Spring {
    double value = 0;
    double velocity = 0;
    double stiffness = 0;
    double damping = 0;

    static constexpr double kMaximumStep = 1.0 / 15.0;

    // No step at all when deltaTime <= 0.
    void update(double target, double deltaTime);
};

} // namespace vimbo::menubar
