#include "core/app/AppDelegate.h"

#include "fakes/DelegateHarness.h"

#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

// The delegate with its menu bar icon: launch, the frame tick, page messages and closing the window.
class AppDelegateMenuBarTest : public ::testing::Test, protected fakes::DelegateHarness {};

TEST_F(AppDelegateMenuBarTest, EveryTickFeedsTheIconAndPageMessagesShowAndHideItAndPersist) {
    launchReady();
    int images = statusBar.state->imageCount;
    timers.fireAll();
    EXPECT_EQ(statusBar.state->imageCount, images + 1);
    send("menuBar:0");
    EXPECT_FALSE(statusBar.itemExists());
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarVisible"]));
    send("menuBar:1");
    EXPECT_TRUE(statusBar.itemExists());
    EXPECT_TRUE(std::get<bool>(defaults.values["menuBarVisible"]));
}

TEST_F(AppDelegateMenuBarTest, ClosingHidesTheWindowWhileTheIconIsShownReopenShowsItQuitEnds) {
    launchReady();
    delegate->windowShouldClose();
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(terminations, 0);
    delegate->applicationShouldHandleReopen();
    EXPECT_TRUE(window.visible);
    statusBar.click("quitVimboAction:");
    EXPECT_EQ(terminations, 1);
}

TEST_F(AppDelegateMenuBarTest, ClosingQuitsWhenNoTrayShowsTheIconUntilATrayAppears) {
    statusBar.trayPresent = false;
    launchReady();
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(
        systemLog.lines,
        std::vector<std::string>{"Vimbo menu bar icon is not shown by any tray; quitting instead of hiding"});
    statusBar.setTrayPresent(true);
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(window.visible);
    send("menuBar:0");
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 2);
}

TEST_F(AppDelegateMenuBarTest, WindowComesBackWhenTheIconGoesAwayWhileItIsHidden) {
    launchReady();
    delegate->windowShouldClose();
    statusBar.setTrayPresent(false);
    EXPECT_TRUE(window.visible);
    statusBar.setTrayPresent(true);
    delegate->windowShouldClose();
    statusBar.click("hideMenuBarAction:");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(page.scripts, std::vector<std::string>{"window.__menuBarHidden && __menuBarHidden()"});
}

} // namespace
} // namespace vimbo::app
