#pragma once

namespace vimbo::menubar {

// The smoothed audio the icon reacts to; nominally 0...1 but never clamped. All zero means silence.
struct MenuBarAudioFrame {
    double level = 0;
    double bass = 0;
    double mid = 0;
    double treble = 0;
    double energy = 0;
    double beat = 0;

    friend bool operator==(const MenuBarAudioFrame&, const MenuBarAudioFrame&) = default;
};

} // namespace vimbo::menubar
