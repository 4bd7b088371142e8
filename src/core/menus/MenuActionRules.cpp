#include "core/menus/MenuActionRules.h"

#include "core/menus/MainMenuController.h"

namespace vimbo::menus {

std::optional<WebMenuCommand> webMenuCommand(MenuAction action, const MenuValue& represented) {
    const auto* number = std::get_if<std::int64_t>(&represented);
    const auto* text = std::get_if<std::string>(&represented);
    switch (action) {
    case MenuAction::showSettings:
        return WebMenuCommand::settings();
    case MenuAction::showKeyboardShortcuts:
        return WebMenuCommand::shortcuts();
    case MenuAction::selectSkinFromMenu:
        if (number) return WebMenuCommand::skin(*number);
        return std::nullopt;
    case MenuAction::cycleSkinFromMenu:
        if (number) return WebMenuCommand::cycleSkin(*number);
        return std::nullopt;
    case MenuAction::mediaCommandFromMenu:
        if (auto media = text ? mediaMenuCommand(*text) : std::nullopt) return WebMenuCommand::media(*media);
        return std::nullopt;
    case MenuAction::toggleDisplayFromMenu:
        if (auto setting = text ? displayMenuSetting(*text) : std::nullopt)
            return WebMenuCommand::display(*setting);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool validateMenuItem(MenuAction action, const MainMenuController* controller, bool isMini) {
    switch (action) {
    case MenuAction::showSettings:
        return controller == nullptr || !controller->windowState().mini;
    case MenuAction::toggleMiniPlayerFromMenu:
        return controller == nullptr || !controller->exportMode();
    case MenuAction::toggleAlwaysOnTopFromMenu:
        return isMini;
    default:
        return true;
    }
}

} // namespace vimbo::menus
