#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace vimbo::menus {

// What a main-menu item does when chosen.
enum class MenuAction {
    showAboutPanel,
    checkForUpdates,
    terminate,
    undo,
    redo,
    cut,
    copy,
    paste,
    pasteAsPlainText,
    selectAll,
    showSettings,
    selectSkinFromMenu,
    toggleDisplayFromMenu,
    cycleSkinFromMenu,
    mediaCommandFromMenu,
    toggleMiniPlayerFromMenu,
    toggleAlwaysOnTopFromMenu,
    performClose,
    performMiniaturize,
    performZoom,
    toggleFullScreen,
    arrangeInFront,
    showKeyboardShortcuts,
    showAcknowledgements,
    openSupport, // the last: MenuAction.cpp's table of names checks it
};

// The action's name, also the stem of the platform's action ids ("selectSkinFromMenu").
std::string_view actionName(MenuAction action);

// The value an item carries to its action: nothing, a number (skin id, step) or a text (raw value).
using MenuValue = std::variant<std::monostate, std::int64_t, std::string>;

} // namespace vimbo::menus
