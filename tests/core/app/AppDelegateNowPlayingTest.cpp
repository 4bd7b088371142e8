#include "core/app/AppDelegate.h"

#include "fakes/DelegateHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

using ::testing::ElementsAre;

class AppDelegateNowPlayingTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    AppDelegateNowPlayingTest() { permission->answerAtOnce(true); }
};

TEST_F(AppDelegateNowPlayingTest, SmokeTestSwitchPollsOnceThePageHasLoadedAndThePageStopsIt) {
    launch({"--track-info-smoke-test"});
    EXPECT_EQ(timers.live.size(), 1u); // the frame tick only
    finishLoading();
    EXPECT_EQ(timers.live.size(), 2u);
    send("musicInfo:0");
    EXPECT_EQ(timers.live.size(), 1u);
    send("musicInfo:1");
    EXPECT_EQ(timers.live.size(), 2u);
}

TEST_F(AppDelegateNowPlayingTest, CheckForUpdatesFromTheMenuOrTheIconOpensTheReleasesPage) {
    launch();
    delegate->performMenuAction(menus::MenuAction::checkForUpdates, {});
    statusBar.click("checkForUpdatesAction:");
    desktop.opens = false;
    delegate->performMenuAction(menus::MenuAction::checkForUpdates, {});
    delegate->performMenuAction(menus::MenuAction::openSupport, {});
    ASSERT_EQ(desktop.opened.size(), 4u);
    EXPECT_EQ(desktop.opened[0].rfind("https://", 0), 0u);
    EXPECT_THAT(std::vector(desktop.opened.begin() + 1, desktop.opened.begin() + 3),
                ElementsAre(desktop.opened[0], desktop.opened[0]));
    EXPECT_NE(desktop.opened[3], desktop.opened[0]); // not the support page
    EXPECT_EQ(desktop.alerts, 2);
}

} // namespace
} // namespace vimbo::app
