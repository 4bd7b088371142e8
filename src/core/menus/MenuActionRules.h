#pragma once

#include "core/menus/MenuAction.h"
#include "core/menus/WebMenuCommand.h"

#include <optional>

namespace vimbo::menus {

class MainMenuController;

// The page command a delegate menu action sends: none for actions that are not page commands, and
// none when the item's represented value is missing or not one the page knows.
std::optional<WebMenuCommand> webMenuCommand(MenuAction action, const MenuValue& represented);

// The delegate's enabling rules: Settings not in mini mode, Mini Player not while exporting (always
// without a main menu), Always on Top only in mini mode, everything else enabled.
bool validateMenuItem(MenuAction action, const MainMenuController* controller, bool isMini);

} // namespace vimbo::menus
