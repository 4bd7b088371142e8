#include "core/menus/WebMenuCommand.h"
#include "core/menus/MenuActionRules.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

TEST(WebMenuCommandTest, ScriptTextsAreExact) {
    EXPECT_EQ(WebMenuCommand::skin(0).javascript(), "window.__menuSelectSkin(0)");
    EXPECT_EQ(WebMenuCommand::skin(7).javascript(), "window.__menuSelectSkin(7)");
    EXPECT_EQ(WebMenuCommand::cycleSkin(1).javascript(), "window.__menuCycleSkin(1)");
    EXPECT_EQ(WebMenuCommand::cycleSkin(-1).javascript(), "window.__menuCycleSkin(-1)");
    EXPECT_EQ(WebMenuCommand::display(DisplayMenuSetting::keepAwake).javascript(),
              "window.__menuToggleDisplay('keepAwake')");
    EXPECT_EQ(WebMenuCommand::display(DisplayMenuSetting::menuBarVisible).javascript(),
              "window.__menuToggleDisplay('menuBarVisible')");
    EXPECT_EQ(WebMenuCommand::media(MediaMenuCommand::playpause).javascript(),
              "window.__menuMediaCommand('playpause')");
    EXPECT_EQ(WebMenuCommand::media(MediaMenuCommand::prev).javascript(),
              "window.__menuMediaCommand('prev')");
    EXPECT_EQ(WebMenuCommand::settings().javascript(), "window.__menuOpenSettings('normal')");
    EXPECT_EQ(WebMenuCommand::shortcuts().javascript(), "window.__menuShowShortcuts()");
}

TEST(WebMenuCommandTest, EqualityComparesCaseAndPayload) {
    EXPECT_EQ(WebMenuCommand::skin(1), WebMenuCommand::skin(1));
    EXPECT_NE(WebMenuCommand::skin(1), WebMenuCommand::skin(2));
    EXPECT_NE(WebMenuCommand::skin(1), WebMenuCommand::cycleSkin(1));
    EXPECT_NE(WebMenuCommand::display(DisplayMenuSetting::dark),
              WebMenuCommand::display(DisplayMenuSetting::glow));
}

TEST(WebMenuCommandTest, RawValuesOutsideTheTablesGiveNoValue) {
    EXPECT_EQ(displayMenuSetting("keepAwake"), DisplayMenuSetting::keepAwake);
    EXPECT_FALSE(displayMenuSetting("KeepAwake"));
    EXPECT_FALSE(displayMenuSetting(""));
    EXPECT_EQ(mediaMenuCommand("next"), MediaMenuCommand::next);
    EXPECT_FALSE(mediaMenuCommand("previous"));
}

TEST(WebMenuCommandTest, DelegateActionsBecomePageCommandsOnlyWithAFittingRepresentedValue) {
    EXPECT_EQ(webMenuCommand(MenuAction::showSettings, {}), WebMenuCommand::settings());
    EXPECT_EQ(webMenuCommand(MenuAction::showKeyboardShortcuts, {}), WebMenuCommand::shortcuts());
    EXPECT_EQ(webMenuCommand(MenuAction::selectSkinFromMenu, std::int64_t{1}), WebMenuCommand::skin(1));
    EXPECT_FALSE(webMenuCommand(MenuAction::selectSkinFromMenu, {}));
    EXPECT_FALSE(webMenuCommand(MenuAction::selectSkinFromMenu, std::string("1")));
    EXPECT_EQ(webMenuCommand(MenuAction::cycleSkinFromMenu, std::int64_t{-1}), WebMenuCommand::cycleSkin(-1));
    EXPECT_FALSE(webMenuCommand(MenuAction::cycleSkinFromMenu, {}));
    EXPECT_EQ(webMenuCommand(MenuAction::mediaCommandFromMenu, std::string("prev")),
              WebMenuCommand::media(MediaMenuCommand::prev));
    EXPECT_FALSE(webMenuCommand(MenuAction::mediaCommandFromMenu, std::string("stop")));
    EXPECT_FALSE(webMenuCommand(MenuAction::mediaCommandFromMenu, std::int64_t{0}));
    EXPECT_EQ(webMenuCommand(MenuAction::toggleDisplayFromMenu, std::string("glass")),
              WebMenuCommand::display(DisplayMenuSetting::glass));
    EXPECT_FALSE(webMenuCommand(MenuAction::toggleDisplayFromMenu, std::string("Glass")));
    EXPECT_FALSE(webMenuCommand(MenuAction::toggleMiniPlayerFromMenu, {}));
    EXPECT_FALSE(webMenuCommand(MenuAction::showAboutPanel, {}));
}
