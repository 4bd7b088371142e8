#include "core/menus/WebMenuCommand.h"
#include "core/menus/MenuActionRules.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

TEST(WebMenuCommandTest, ScriptTextsAreExact) {
    const std::pair<WebMenuCommand, const char*> cases[] = {
        {WebMenuCommand::skin(0), "window.__menuSelectSkin(0)"},
        {WebMenuCommand::skin(7), "window.__menuSelectSkin(7)"},
        {WebMenuCommand::cycleSkin(1), "window.__menuCycleSkin(1)"},
        {WebMenuCommand::cycleSkin(-1), "window.__menuCycleSkin(-1)"},
        {WebMenuCommand::display(DisplayMenuSetting::keepAwake), "window.__menuToggleDisplay('keepAwake')"},
        {WebMenuCommand::display(DisplayMenuSetting::menuBarVisible),
         "window.__menuToggleDisplay('menuBarVisible')"},
        {WebMenuCommand::media(MediaMenuCommand::playpause), "window.__menuMediaCommand('playpause')"},
        {WebMenuCommand::media(MediaMenuCommand::prev), "window.__menuMediaCommand('prev')"},
        {WebMenuCommand::settings(), "window.__menuOpenSettings('normal')"},
        {WebMenuCommand::shortcuts(), "window.__menuShowShortcuts()"},
    };
    for (const auto& [command, script] : cases)
        EXPECT_EQ(command.javascript(), script);
}

TEST(WebMenuCommandTest, DelegateActionsBecomePageCommandsOnlyWithAFittingRepresentedValue) {
    EXPECT_EQ(webMenuCommand(MenuAction::showSettings, {}), WebMenuCommand::settings());
    EXPECT_EQ(webMenuCommand(MenuAction::selectSkinFromMenu, std::int64_t{1}), WebMenuCommand::skin(1));
    EXPECT_EQ(webMenuCommand(MenuAction::cycleSkinFromMenu, std::int64_t{-1}), WebMenuCommand::cycleSkin(-1));
    EXPECT_EQ(webMenuCommand(MenuAction::mediaCommandFromMenu, std::string("prev")),
              WebMenuCommand::media(MediaMenuCommand::prev));
    EXPECT_EQ(webMenuCommand(MenuAction::toggleDisplayFromMenu, std::string("glass")),
              WebMenuCommand::display(DisplayMenuSetting::glass));
    EXPECT_NE(WebMenuCommand::skin(1), WebMenuCommand::cycleSkin(1));

    const std::pair<MenuAction, MenuValue> refused[] = {
        {MenuAction::selectSkinFromMenu, {}},
        {MenuAction::selectSkinFromMenu, std::string("1")},
        {MenuAction::cycleSkinFromMenu, {}},
        {MenuAction::mediaCommandFromMenu, std::string("stop")},
        {MenuAction::mediaCommandFromMenu, std::string("previous")},
        {MenuAction::mediaCommandFromMenu, std::int64_t{0}},
        {MenuAction::toggleDisplayFromMenu, std::string("Glass")},
        {MenuAction::toggleDisplayFromMenu, std::string("")},
        {MenuAction::toggleMiniPlayerFromMenu, {}},
        {MenuAction::showAboutPanel, {}},
    };
    for (const auto& [action, value] : refused)
        EXPECT_FALSE(webMenuCommand(action, value)) << static_cast<int>(action);
}
