#include "core/menus/WebMenuCommand.h"
#include "core/menus/MenuActionRules.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

TEST(WebMenuCommandTest, DelegateActionsBecomeExactScriptsOnlyWithAFittingRepresentedValue) {
    const std::pair<std::optional<WebMenuCommand>, const char*> cases[] = {
        {webMenuCommand(MenuAction::selectSkinFromMenu, std::int64_t{7}), "window.__menuSelectSkin(7)"},
        {webMenuCommand(MenuAction::cycleSkinFromMenu, std::int64_t{-1}), "window.__menuCycleSkin(-1)"},
        {webMenuCommand(MenuAction::toggleDisplayFromMenu, std::string("glass")),
         "window.__menuToggleDisplay('glass')"},
        {webMenuCommand(MenuAction::mediaCommandFromMenu, std::string("prev")),
         "window.__menuMediaCommand('prev')"},
        {webMenuCommand(MenuAction::showSettings, {}), "window.__menuOpenSettings('normal')"},
        {WebMenuCommand::shortcuts(), "window.__menuShowShortcuts()"},
    };
    for (const auto& [command, script] : cases) {
        ASSERT_TRUE(command) << script;
        EXPECT_EQ(command->javascript(), script);
    }

    const std::pair<MenuAction, MenuValue> refused[] = {
        {MenuAction::selectSkinFromMenu, std::string("1")},
        {MenuAction::cycleSkinFromMenu, {}},
        {MenuAction::mediaCommandFromMenu, std::string("previous")},
        {MenuAction::toggleDisplayFromMenu, std::string("Glass")},
        {MenuAction::showAboutPanel, {}},
    };
    for (const auto& [action, value] : refused)
        EXPECT_FALSE(webMenuCommand(action, value)) << static_cast<int>(action);
}
