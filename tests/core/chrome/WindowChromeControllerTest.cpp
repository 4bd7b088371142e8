#include "core/chrome/WindowChromeController.h"

#include "fakes/FakeAppPlatform.h"
#include "fakes/FakeChromeWindows.h"
#include "fakes/FakePageHost.h"
#include "fakes/InMemoryDefaults.h"
#include "fakes/ManualMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::chrome {
namespace {

using platform::ChromeWindow;
using platform::Rect;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kMainState = R"(window.__windowChrome && __windowChrome({"mini":false,"onTop":false}))";
constexpr const char* kMiniState = R"(window.__windowChrome && __windowChrome({"mini":true,"onTop":false}))";

class WindowChromeControllerTest : public ::testing::Test {
  protected:
    WindowChromeControllerTest() {
        glass->load(false);
        controller.attach(windows);
        controller.pageDidFinishLoading(page);
        page.scripts.clear();
        windows.calls.clear();
    }
    // Reports full screen from the window manager and lets the glass finish with the page.
    void reportFullScreen(bool on) {
        windows.listener->fullScreenChanged(on);
        page.completeAll();
        mainQueue.runPending();
    }

    fakes::InMemoryDefaults defaults;
    fakes::RecordingSystemLog systemLog;
    fakes::ManualMainQueue mainQueue;
    fakes::FakePageHost page;
    fakes::FakeChromeWindows windows;
    std::shared_ptr<GlassPresentation> glass =
        std::make_shared<GlassPresentation>(defaults, systemLog, mainQueue);
    WindowChromeController controller{defaults, glass};
};

TEST_F(WindowChromeControllerTest, EnteringAndLeavingMovesThePageOncePushesOnceAndRemembersTheCorner) {
    controller.setMini(true);
    controller.setMini(true);
    EXPECT_THAT(windows.calls,
                ElementsAre("main alpha 1 over 0", "mini", "mini alpha 1 over 0", "light hidden"));
    EXPECT_EQ(windows.mini, (Rect{616, 416, 260, 260}));
    EXPECT_THAT(page.scripts, ElementsAre(kMiniState));

    windows.listener->miniFrameChanged({30, 40, 300, 300});
    EXPECT_EQ(std::get<std::string>(defaults.values.at("miniPlayerTopLeft")), "{30, 40}");
    windows.mini = {50, 60, 260, 260};
    windows.calls.clear();
    windows.listener->miniCloseRequested();
    controller.setMini(false);
    EXPECT_THAT(windows.calls, ElementsAre("main alpha 1 over 0", "mini alpha 1 over 0", "main",
                                           "main alpha 1 over 0", "light allowed"));
    EXPECT_EQ(std::get<std::string>(defaults.values.at("miniPlayerTopLeft")), "{50, 60}");
    EXPECT_THAT(page.scripts, ElementsAre(kMiniState, kMainState));

    windows.listener->miniLightClicked();
    EXPECT_EQ(windows.mini, (Rect{50, 60, 260, 260}));
}

TEST_F(WindowChromeControllerTest, FloatingOnlyInTheMiniPlayerAndKeptWhenLeavingIt) {
    controller.setAlwaysOnTop(true);
    controller.toggleAlwaysOnTopFromMenu();
    EXPECT_FALSE(controller.isAlwaysOnTop());
    EXPECT_THAT(windows.calls, IsEmpty());
    EXPECT_THAT(page.scripts, IsEmpty());

    controller.toggleMiniPlayerFromMenu();
    windows.calls.clear();
    controller.setAlwaysOnTop(true);
    controller.setAlwaysOnTop(true);
    EXPECT_THAT(windows.calls, ElementsAre("above", "light hidden"));
    EXPECT_EQ(page.scripts.back(), R"(window.__windowChrome && __windowChrome({"mini":true,"onTop":true}))");
    controller.toggleMiniPlayerFromMenu();
    EXPECT_EQ(page.scripts.back(), R"(window.__windowChrome && __windowChrome({"mini":false,"onTop":true}))");
}

TEST_F(WindowChromeControllerTest, IdleFadesTheFocusedWindowsButtonsAndEveryTransitionShowsThemAgain) {
    controller.setChromeIdle(true);
    controller.setChromeIdle(true);
    EXPECT_THAT(windows.calls, ElementsAre("light allowed idle", "main alpha 0.0001 over 0.2"));
    controller.setMini(true);
    EXPECT_FALSE(controller.isChromeIdle());

    windows.calls.clear();
    controller.setChromeIdle(true);
    windows.focused = ChromeWindow::main;
    windows.listener->activityChanged();
    EXPECT_THAT(windows.calls,
                ElementsAre("light hidden idle", "mini alpha 1 over 0.2", "mini alpha 0.0001 over 0"));
}

TEST_F(WindowChromeControllerTest, FullScreenDropsGlassAndEnteringFromItLeavesItFirstThenEnters) {
    glass->setEnabled(true, &page);
    reportFullScreen(true);
    EXPECT_EQ(windows.glass, false);
    controller.toggleFullScreen();
    EXPECT_EQ(windows.calls.back(), "leaveFullScreen");
    windows.calls.clear();
    controller.setMini(true);
    EXPECT_THAT(windows.calls, ElementsAre("leaveFullScreen"));
    EXPECT_TRUE(controller.entersMiniAfterFullScreenExit());
    EXPECT_FALSE(controller.isMini());

    reportFullScreen(false);
    EXPECT_EQ(windows.glass, true);
    EXPECT_TRUE(controller.isMini());
    EXPECT_FALSE(controller.entersMiniAfterFullScreenExit());
    EXPECT_THAT(page.scripts, ::testing::Contains(kMiniState));
    // The mini player never goes full screen.
    windows.calls.clear();
    controller.toggleFullScreen();
    EXPECT_THAT(windows.calls, IsEmpty());
}

} // namespace
} // namespace vimbo::chrome
