#include "core/app/AppDelegate.h"

#include "fakes/DelegateHarness.h"

#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

// The delegate with its menu bar icon: launch, the frame tick, page messages and closing the window.
class AppDelegateMenuBarTest : public ::testing::Test, protected fakes::DelegateHarness {};

TEST_F(AppDelegateMenuBarTest, LaunchShowsTheIconAndEveryTickFeedsIt) {
    launchReady();
    ASSERT_TRUE(statusBar.itemExists());
    int images = statusBar.state->imageCount;
    timers.fireAll();
    EXPECT_EQ(statusBar.state->imageCount, images + 1);
    clock.seconds += 1.0 / 60;
    timers.fireAll();
    EXPECT_EQ(statusBar.state->imageCount, images + 2);
}

TEST_F(AppDelegateMenuBarTest, PageMessagesShowAndHideTheIconAndPersist) {
    launchReady();
    send("menuBar:0");
    EXPECT_FALSE(statusBar.itemExists());
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarVisible"]));
    send("menuBar:1");
    EXPECT_TRUE(statusBar.itemExists());
    EXPECT_TRUE(std::get<bool>(defaults.values["menuBarVisible"]));
}

TEST_F(AppDelegateMenuBarTest, ClosingHidesTheWindowWhileTheIconIsShown) {
    launchReady();
    delegate->windowShouldClose();
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(terminations, 0);
    statusBar.click("openVimboAction:");
    EXPECT_TRUE(window.visible);
    delegate->windowShouldClose();
    delegate->applicationShouldHandleReopen(); // launching Vimbo again
    EXPECT_TRUE(window.visible);
}

TEST_F(AppDelegateMenuBarTest, ClosingQuitsWithoutTheIcon) {
    defaults.values["menuBarVisible"] = false;
    launchReady();
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(systemLog.lines.empty());
}

TEST_F(AppDelegateMenuBarTest, ClosingQuitsWhenNoTrayShowsTheIcon) {
    statusBar.trayPresent = false;
    launchReady();
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(
        systemLog.lines,
        std::vector<std::string>{"Vimbo menu bar icon is not shown by any tray; quitting instead of hiding"});
    // A tray that appears later is used from then on.
    statusBar.setTrayPresent(true);
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(window.visible);
}

TEST_F(AppDelegateMenuBarTest, WindowComesBackWhenTheIconGoesAwayWhileItIsHidden) {
    launchReady();
    delegate->windowShouldClose();
    ASSERT_FALSE(window.visible);
    statusBar.setTrayPresent(false);
    EXPECT_TRUE(window.visible);

    statusBar.setTrayPresent(true);
    delegate->windowShouldClose();
    statusBar.click("hideMenuBarAction:");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(page.scripts, std::vector<std::string>{"window.__menuBarHidden && __menuBarHidden()"});
}

TEST_F(AppDelegateMenuBarTest, QuitItemTerminatesAndStaleCallbacksDoNothing) {
    launchReady();
    statusBar.click("quitVimboAction:");
    EXPECT_EQ(terminations, 1);
    auto events = statusBar.state->events;
    delegate.reset();
    EXPECT_FALSE(statusBar.itemExists()); // the controller went with the delegate and took its icon
}

} // namespace
} // namespace vimbo::app
