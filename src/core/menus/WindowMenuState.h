#pragma once

namespace vimbo::menus {

// The window part of the menu state: the mini player is showing, the window floats above others.
struct WindowMenuState {
    bool mini = false;
    bool onTop = false;

    bool operator==(const WindowMenuState&) const = default;
};

} // namespace vimbo::menus
