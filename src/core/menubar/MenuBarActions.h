#pragma once

#include <functional>

namespace vimbo::menubar {

// What the icon's menu asks of the application; each callback may be empty.
struct MenuBarActions {
    std::function<void()> openVimbo;       // bring the main window forward
    std::function<void()> checkForUpdates; // start an update check
    std::function<void()> quitVimbo;       // terminate the application
    std::function<void()> onHideFromMenu;  // tell the page the icon was hidden from its own menu
};

} // namespace vimbo::menubar
