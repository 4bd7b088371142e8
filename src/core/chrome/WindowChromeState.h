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

// Remembers the last state sent to the page so an unchanged state is not sent twice; a page load
// resets it, so the fresh page gets the state in full.
class WindowChromePushGate {
  public:
    // True (and remembered) when `state` differs from the last state let through.
    bool admits(const WindowChromeState& state) {
        if (lastState_ == state) return false;
        lastState_ = state;
        return true;
    }
    void reset() { lastState_.reset(); }

  private:
    std::optional<WindowChromeState> lastState_;
};

} // namespace vimbo::chrome
