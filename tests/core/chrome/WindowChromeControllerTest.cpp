#include "core/chrome/WindowChromeController.h"

#include "core/app/FeatureScript.h"
#include "fakes/DelegateHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::chrome {
namespace {

using menus::MenuAction;
using platform::ChromeWindow;
using platform::Rect;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kMainState = R"(window.__windowChrome && __windowChrome({"mini":false,"onTop":false}))";
constexpr const char* kMiniState = R"(window.__windowChrome && __windowChrome({"mini":true,"onTop":false}))";

// The controller as the delegate drives it: page messages, menu actions and the windows' reports.
class WindowChromeControllerTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    WindowChromeControllerTest() {
        permission->answerAtOnce(true);
        launchReady();
        chromeWindows.calls.clear();
    }
    const WindowChromeController& chrome() const { return delegate->chrome(); }
    platform::ChromeWindowsListener& windowsReport() { return *chromeWindows.listener; }
    // Reports full screen from the window manager and lets the glass finish with the page.
    void reportFullScreen(bool on) {
        windowsReport().fullScreenChanged(on);
        page.completeAll();
        mainQueue.runPending();
    }
};

TEST_F(WindowChromeControllerTest, EnteringAndLeavingMovesThePageOncePushesOnceAndRemembersTheCorner) {
    send("windowMode:mini");
    send("windowMode:mini");
    EXPECT_THAT(chromeWindows.calls,
                ElementsAre("main alpha 1 over 0", "mini", "mini alpha 1 over 0", "light hidden"));
    EXPECT_EQ(chromeWindows.mini, (Rect{616, 416, 260, 260}));
    EXPECT_THAT(page.scripts, ElementsAre(kMiniState));

    windowsReport().miniFrameChanged({30, 40, 300, 300});
    EXPECT_EQ(std::get<std::string>(defaults.values.at("miniPlayerTopLeft")), "{30, 40}");
    chromeWindows.mini = {50, 60, 260, 260};
    windowsReport().miniCloseRequested();
    send("windowMode:normal");
    EXPECT_EQ(chromeWindows.calls.back(), "light allowed");
    EXPECT_EQ(std::get<std::string>(defaults.values.at("miniPlayerTopLeft")), "{50, 60}");
    EXPECT_THAT(page.scripts, ElementsAre(kMiniState, kMainState));

    windowsReport().miniLightClicked();
    EXPECT_EQ(chromeWindows.mini, (Rect{50, 60, 260, 260}));
}

// The main window is hidden meanwhile: the page still gets the features, and showing the window
// brings the mini player forward.
TEST_F(WindowChromeControllerTest, FloatingOnlyInTheMiniPlayerWhichShowsTheFeatures) {
    send("alwaysOnTop:1");
    delegate->performMenuAction(MenuAction::toggleAlwaysOnTopFromMenu, {});
    EXPECT_FALSE(chrome().isAlwaysOnTop());
    EXPECT_THAT(chromeWindows.calls, IsEmpty());
    EXPECT_THAT(page.scripts, IsEmpty());

    delegate->performMenuAction(MenuAction::toggleMiniPlayerFromMenu, {});
    EXPECT_TRUE(delegate->validateMenuItem(MenuAction::toggleAlwaysOnTopFromMenu));
    chromeWindows.calls.clear();
    send("alwaysOnTop:1");
    send("alwaysOnTop:1");
    EXPECT_THAT(chromeWindows.calls, ElementsAre("above", "light hidden"));
    EXPECT_EQ(page.scripts.back(), R"(window.__windowChrome && __windowChrome({"mini":true,"onTop":true}))");
    window.visible = false;
    timers.fireAll();
    EXPECT_EQ(page.scripts.back(), app::featureScript(audio::AudioFeatures{}));
    delegate->showMainWindow();
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(chromeWindows.calls.back(), "mini");

    delegate->performMenuAction(MenuAction::toggleMiniPlayerFromMenu, {});
    EXPECT_EQ(page.scripts.back(), R"(window.__windowChrome && __windowChrome({"mini":false,"onTop":true}))");
}

TEST_F(WindowChromeControllerTest, IdleFadesTheFocusedWindowsButtonsAndEveryTransitionShowsThemAgain) {
    send("chromeIdle:1");
    send("chromeIdle:1");
    EXPECT_THAT(chromeWindows.calls, ElementsAre("light allowed idle", "main alpha 0.0001 over 0.2"));
    send("windowMode:mini");
    EXPECT_FALSE(chrome().isChromeIdle());

    chromeWindows.calls.clear();
    send("chromeIdle:1");
    chromeWindows.focused = ChromeWindow::main;
    windowsReport().activityChanged();
    EXPECT_THAT(chromeWindows.calls,
                ElementsAre("light hidden idle", "mini alpha 1 over 0.2", "mini alpha 0.0001 over 0"));
}

TEST_F(WindowChromeControllerTest, FullScreenDropsGlassAndEnteringFromItLeavesItFirstThenEnters) {
    send("glass:1");
    reportFullScreen(true);
    EXPECT_EQ(chromeWindows.glass, false);
    send("toggleFullscreen");
    EXPECT_EQ(chromeWindows.calls.back(), "leaveFullScreen");
    chromeWindows.calls.clear();
    send("windowMode:mini");
    EXPECT_THAT(chromeWindows.calls, ElementsAre("leaveFullScreen"));
    EXPECT_TRUE(chrome().entersMiniAfterFullScreenExit());
    EXPECT_FALSE(chrome().isMini());

    reportFullScreen(false);
    EXPECT_EQ(chromeWindows.glass, true);
    EXPECT_TRUE(chrome().isMini());
    EXPECT_FALSE(chrome().entersMiniAfterFullScreenExit());
    EXPECT_THAT(page.scripts, Contains(kMiniState));
    // The mini player never goes full screen.
    chromeWindows.calls.clear();
    send("toggleFullscreen");
    EXPECT_THAT(chromeWindows.calls, IsEmpty());
}

} // namespace
} // namespace vimbo::chrome
