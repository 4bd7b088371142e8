#pragma once

#include <optional>
#include <string>

namespace vimbo::chrome {

// Which window shows the page and whether it floats; pushed to the page as JSON.
struct WindowChromeState {
    bool mini = false;
    bool onTop = false;

    // {"mini":false,"onTop":false}
    std::string json() const;

    friend bool operator==(const WindowChromeState&, const WindowChromeState&) = default;
};

// Remembers the last state sent to the page so an unchanged state is not sent twice.
struct WindowChromePushGate {
    std::optional<WindowChromeState> lastState;
};

} // namespace vimbo::chrome
