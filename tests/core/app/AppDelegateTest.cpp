#include "core/app/AppDelegate.h"

#include "core/app/FeatureScript.h"
#include "core/app/ScriptText.h"
#include "core/menus/KeyboardShortcutCatalog.h"
#include "core/menus/MainMenuController.h"
#include "fakes/DelegateHarness.h"
#include "fakes/FakeMainMenu.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace vimbo::app {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

class AppDelegateTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    AppDelegateTest() { permission->answerAtOnce(true); }
};

TEST_F(AppDelegateTest, LaunchLoadsThePageOnceWithTheQueryOfTheFirstSwitchInFixedOrder) {
    launch({"--export-ui-test", "--export-smoke-test"}, "/opt/my vimbo");
    launch({"--export-smoke-test", "--export-skin-resume-test"});
    EXPECT_THAT(
        page.loads,
        ElementsAre("file:///opt/my%20vimbo/web/index.html?export-smoke-test|/opt/my vimbo",
                    "file:///opt/vimbo/web/index.html?export-ui-test&export-skin-resume-test|/opt/vimbo"));
}

TEST_F(AppDelegateTest, LaunchReadsPreferencesAndStartsTheTickAt60HzEvenWithoutResourcesOrTransparency) {
    page.transparentSupported = false;
    defaults.writeDouble("microphoneSensitivity", 20);
    defaults.writeBool("glassMode", true);
    launch({}, std::nullopt);
    EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), 8.0f);
    EXPECT_TRUE(delegate->glass().surfaceGlass());
    EXPECT_THAT(page.loads, IsEmpty());
    EXPECT_TRUE(window.visible);
    EXPECT_THAT(keepAwake.active, ElementsAre(std::pair{1u, platform::ActivityKind::displaySleep}));
    ASSERT_EQ(timers.live.size(), 1u);
    EXPECT_DOUBLE_EQ(timers.live[0]->interval, 1.0 / 60.0);
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo: WebKitWebView transparent background is unavailable",
                                             StartsWith("Vimbo page not found")));
}

TEST_F(AppDelegateTest, TerminationStopsTheTickCaptureAndEveryActivityAndRemovesThePartialExport) {
    launchReady();
    send("export:begin");
    send("export:save:1000:My%20Video.mp4");
    EXPECT_EQ(exportPlatform.savePanels.at(0).proposedName, "My Video.mp4");
    exportPlatform.saveAnswer("/v/My Video.mp4");
    send("export:write:0:QUJD");
    delegate->applicationWillTerminate();
    EXPECT_EQ(timers.live.size(), 0u);
    EXPECT_THAT(keepAwake.active, IsEmpty());
    EXPECT_EQ(captures(audio::AudioInput::systemAudio)[0]->stops, 1);
    EXPECT_THAT(exportPlatform.files, IsEmpty()); // the partial file goes too
}

TEST_F(AppDelegateTest, PageReadySendsOnlyTheLatestHeldValuesInOrder) {
    launch();
    delegate->sendStatus("microphone-unavailable");
    delegate->sendStatus("ok");
    delegate->sendAudioInput(audio::AudioInput::microphone);
    delegate->sendMicSensitivity(4.0f);
    defaults.writeDouble("microphoneSensitivity", 0.5);
    EXPECT_THAT(page.scripts, IsEmpty());
    const auto shortcuts =
        "__shortcuts(" + menus::KeyboardShortcutCatalog::json(menus::KeyLabelStyle::gtk) + ")";
    const auto chrome = "window.__windowChrome && __windowChrome({\"mini\":false,\"onTop\":false})";
    finishLoading();
    EXPECT_THAT(page.scripts, ElementsAre(shortcuts, "__status('ok')", "__audioInput('microphone')",
                                          "__micSensitivity(0.5)", chrome, "window.__glass(false)"));
    page.scripts.clear();
    finishLoading(); // a reload gets the unchanged chrome state again
    EXPECT_THAT(page.scripts, Contains(chrome));
}

TEST_F(AppDelegateTest, AudioInputMessagesSwitchCaptureAndReportOnTheMainThread) {
    launchReady({"--debug"});
    send("audioInput:microphone");
    EXPECT_THAT(page.scripts, IsEmpty());
    settleAudio();
    EXPECT_THAT(page.scripts, ElementsAre("__audioInput('microphone')", "__status('ok')"));
    ASSERT_EQ(captures(audio::AudioInput::microphone).size(), 1u);
    EXPECT_THAT(debugLines, Contains("audio source selected input=microphone generation=2"));
}

TEST_F(AppDelegateTest, AudioReportsForAGoneDelegateAreDropped) {
    launchReady();
    delegate->audioController().select(audio::AudioInput::microphone);
    delegate->audioController().waitUntilSettled();
    page.scripts.clear();
    delegate.reset();
    mainQueue.runPending();
    EXPECT_THAT(page.scripts, IsEmpty());
}

TEST_F(AppDelegateTest, MenuCommandsBeforeLoadShowTheWindowAndOnlyTheLastReachesThePageOnce) {
    launch();
    window.visible = false;
    delegate->performMenuCommand(menus::WebMenuCommand::skin(3));
    EXPECT_TRUE(window.visible);
    delegate->performMenuCommand(menus::WebMenuCommand::cycleSkin(-1));
    EXPECT_THAT(page.scripts, IsEmpty());
    finishLoading();
    page.completeAll("no function"); // each failed push is logged with its reason
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo shortcut sheet push failed: no function",
                                             "Vimbo Glass state push failed: no function",
                                             "Vimbo menu command failed: no function"));
    EXPECT_THAT(page.scripts, Contains("window.__menuCycleSkin(-1)"));
    EXPECT_THAT(page.scripts, Not(Contains(StartsWith("window.__menuSelectSkin"))));
    page.scripts.clear();
    finishLoading();
    EXPECT_THAT(page.scripts, Not(Contains(StartsWith("window.__menu"))));
}

// Cut at the NUL, the first body would be a valid choice of input; the whole message is refused instead.
TEST_F(AppDelegateTest, NulNonStringUnknownMiscasedAndMalformedMessagesChangeNothing) {
    launchReady();
    send("dragThrough:[[1,2,3,4]]");
    page.listener->pageDidReceiveMessage(std::nullopt);
    using namespace std::string_literals;
    for (const auto& body :
         {"audioInput:microphone\0junk"s, "Glass:1"s, "glass:1 "s, "glass:"s, "keepAwake:2"s,
          "windowMode:MINI"s, "menustate:{}"s, "micSensitivity"s, "export:begin "s, "micSensitivity:1.5x"s,
          "micSensitivity: 2"s, "micSensitivity:"s, ""s, "dragThrough:{}"s})
        send(body);
    settleAudio();
    EXPECT_THAT(captures(audio::AudioInput::microphone), IsEmpty());
    EXPECT_THAT(chromeWindows.passThrough, ElementsAre(platform::Rect{1, 2, 3, 4}));
    EXPECT_EQ(keepAwake.begun, 1);
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_THAT(systemLog.lines, ElementsAre(testing::HasSubstr("NUL")));
    EXPECT_THAT(defaults.values, IsEmpty());
}

// The mini player has no settings; the menu learns of it through the chrome's pushes.
TEST_F(AppDelegateTest, SettingsReachesThePageOnlyWhileTheMenuDoesNotShowTheMiniPlayer) {
    launchReady();
    fakes::FakeMainMenu menu;
    menus::MainMenuController controller(menu, *delegate);
    delegate->setMainMenuController(&controller);
    send("windowMode:mini");
    window.visible = false;
    page.scripts.clear();
    delegate->performMenuAction(menus::MenuAction::showSettings, {});
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_FALSE(window.visible);
    send("windowMode:normal");
    page.scripts.clear();
    delegate->performMenuAction(menus::MenuAction::showSettings, {});
    EXPECT_THAT(page.scripts, ElementsAre("window.__menuOpenSettings('normal')"));
    delegate->setMainMenuController(nullptr);
}

TEST_F(AppDelegateTest, KeepAwakeAndExportHoldOneActivityEachUntilTheirEndAndExportErrorsReachBothLogs) {
    launchReady({"--debug"});
    send("keepAwake:1");
    send("keepAwake:0");
    EXPECT_THAT(keepAwake.active, IsEmpty());
    send("keepAwake:1");
    send("keepAwake:1");
    send("export:begin");
    send("export:begin");
    EXPECT_THAT(keepAwake.active, ElementsAre(std::pair{2u, platform::ActivityKind::displaySleep},
                                              std::pair{3u, platform::ActivityKind::systemSleep}));
    send("export:error:Disk%20full");
    send("export:error:100%");
    send("export:save:clip.mp4");
    exportPlatform.saveAnswer("/v/clip.mp4");
    send("export:cancel");
    EXPECT_THAT(keepAwake.active, ElementsAre(std::pair{2u, platform::ActivityKind::displaySleep}));
    EXPECT_THAT(exportPlatform.files, IsEmpty());
    send("export:begin");
    send("export:finish"); // a failed finish ends the activity too
    EXPECT_THAT(keepAwake.active, ElementsAre(std::pair{2u, platform::ActivityKind::displaySleep}));
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo export failed: Disk full", "Vimbo export failed: 100%"));
    EXPECT_THAT(debugLines, ElementsAre("export failed: Disk full", "export failed: 100%"));
}

// Text beyond the float range parses to infinity or zero, as a float parser gives them; the store
// then turns infinity into 1.0 and clamps the rest.
TEST_F(AppDelegateTest, SensitivityBeyondTheFloatRangeIsStoredAppliedAndEchoed) {
    launchReady();
    for (auto [text, stored] : {std::pair{"1e400", 1.0}, {"1e-400", 0.125}}) {
        page.scripts.clear();
        send(std::string("micSensitivity:") + text);
        EXPECT_EQ(std::get<double>(defaults.values["microphoneSensitivity"]), stored) << text;
        EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), static_cast<float>(stored)) << text;
        EXPECT_THAT(page.scripts, ElementsAre("__micSensitivity(" + shortestFloatText(stored) + ")")) << text;
    }
}

// The page learns of a change first; the window's backdrop drops its glass only after the page handled
// it, keeps it when glass came back meanwhile, and loses it in export mode.
TEST_F(AppDelegateTest, GlassLeavesTheSurfaceOnlyAfterThePageAndNeverDuringExport) {
    launchReady();
    send("glass:1");
    send("glass:0");
    send("glass:1");
    page.completeAll();
    mainQueue.runPending();
    EXPECT_TRUE(delegate->glass().surfaceGlass());
    const std::string exporting =
        R"(menuState:{"skin":0,"dark":false,"glow":false,"glass":true,"keepAwake":true,)"
        R"("musicInfo":false,"menuBarVisible":true,"musicControl":false,"exportMode":true})";
    send(exporting);
    EXPECT_EQ(page.scripts.back(), "window.__glass(false)");
    EXPECT_EQ(chromeWindows.calls.back(), "light hidden");
    const auto pushed = page.scripts.size();
    send(exporting); // the page repeats its menu state often: an unchanged export mode pushes nothing
    EXPECT_EQ(page.scripts.size(), pushed);
    page.completeAll();
    EXPECT_TRUE(delegate->glass().surfaceGlass());
    mainQueue.runPending();
    EXPECT_FALSE(delegate->glass().surfaceGlass());
    send("appearanceDark:0"); // the windows' surface takes the new appearance at once
    EXPECT_EQ(chromeWindows.glassDark, false);
}

// The window opens in the page's last appearance, dark before the page ever chose, and follows it.
TEST_F(AppDelegateTest, WindowAppearanceFollowsThePageAndIsRememberedForTheNextLaunch) {
    launch();
    EXPECT_EQ(window.dark, true);
    send("appearanceDark:0");
    EXPECT_FALSE(delegate->glass().appearanceDark());
    window.dark.reset();
    launch();
    EXPECT_EQ(window.dark, false);
}

TEST_F(AppDelegateTest, TickFeedsTheIconSendsNewFeatureLinesToAVisibleReadyPageAndLogsEverySixtieth) {
    launch({"--debug"});
    const int images = statusBar.state->imageCount;
    timers.fireAll();
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_EQ(statusBar.state->imageCount, images + 1); // the icon follows every tick
    finishLoading();
    page.scripts.clear();
    timers.fireAll();
    const auto silence = featureScript(audio::AudioFeatures{});
    EXPECT_THAT(page.scripts, ElementsAre(silence));
    timers.fireAll(); // the page already holds this line
    window.visible = false;
    for (int frame = 4; frame < 60; ++frame)
        timers.fireAll();
    EXPECT_EQ(page.scripts.size(), 1u);
    EXPECT_THAT(debugLines, IsEmpty());
    timers.fireAll();
    EXPECT_THAT(debugLines, ElementsAre("features " + silence + " input=systemAudio running=true title=?"));
    // Shown again, or reloaded, the page gets the line it may have missed.
    window.visible = true;
    timers.fireAll();
    finishLoading();
    timers.fireAll();
    EXPECT_EQ(std::count(page.scripts.begin(), page.scripts.end(), silence), 3);
}

// Hiding needs a tray showing the icon, or nothing could bring the window back: without one, or with the
// icon off, closing quits; the icon going away while the window is hidden shows it again.
TEST_F(AppDelegateTest, ClosingHidesOnlyWhileATrayShowsTheIconAndLosingItShowsTheWindowAgain) {
    statusBar.trayPresent = false;
    launchReady();
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 1);
    statusBar.setTrayPresent(true);
    delegate->windowShouldClose();
    EXPECT_FALSE(window.visible);
    statusBar.setTrayPresent(false);
    EXPECT_TRUE(window.visible);
    statusBar.setTrayPresent(true);
    statusBar.setTrayPresent(false); // shown already: nothing to bring back
    EXPECT_EQ(systemLog.lines, (std::vector<std::string>{
                                   "Vimbo menu bar icon is not shown by any tray; quitting instead of hiding",
                                   "Vimbo menu bar icon is gone; showing the window again"}));
    statusBar.setTrayPresent(true);
    delegate->windowShouldClose();
    delegate->applicationShouldHandleReopen();
    EXPECT_TRUE(window.visible);
    delegate->windowShouldClose();
    statusBar.click("hideMenuBarAction:");
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(page.scripts, std::vector<std::string>{"window.__menuBarHidden && __menuBarHidden()"});
    send("menuBar:1");
    delegate->windowShouldClose();
    EXPECT_FALSE(window.visible);
    statusBar.click("quitVimboAction:");
    EXPECT_EQ(terminations, 2);
    send("menuBar:0");
    delegate->windowShouldClose();
    EXPECT_EQ(terminations, 3);
}

TEST_F(AppDelegateTest, AboutNoticesUpdatesAndSupportOpenTheirPagesAndWhatCannotOpenAlerts) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "vimbo-about";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    launch({}, dir.string());
    auto choose = [this](menus::MenuAction action) { delegate->performMenuAction(action, {}); };
    choose(menus::MenuAction::showAboutPanel);
    ASSERT_EQ(desktop.aboutPanels.size(), 1u);
    EXPECT_EQ(desktop.aboutPanels[0].rfind("Vimbo|", 0), 0u);
    choose(menus::MenuAction::showAcknowledgements);
    EXPECT_EQ(systemLog.lines,
              std::vector<std::string>{"Vimbo: THIRD-PARTY-NOTICES.txt is missing from the installation."});
    EXPECT_EQ(desktop.alerts, 1);
    std::ofstream(dir / "THIRD-PARTY-NOTICES.txt") << "notices\n";
    choose(menus::MenuAction::showAcknowledgements);
    choose(menus::MenuAction::checkForUpdates);
    statusBar.click("checkForUpdatesAction:");
    desktop.opens = false;
    choose(menus::MenuAction::checkForUpdates);
    choose(menus::MenuAction::openSupport);
    ASSERT_EQ(desktop.opened.size(), 5u);
    EXPECT_EQ(desktop.opened[0], (dir / "THIRD-PARTY-NOTICES.txt").string());
    EXPECT_EQ(desktop.opened[1].rfind("https://", 0), 0u);
    EXPECT_THAT(std::vector(desktop.opened.begin() + 2, desktop.opened.begin() + 4),
                ElementsAre(desktop.opened[1], desktop.opened[1])); // the releases page, from the icon too
    EXPECT_NE(desktop.opened[4], desktop.opened[1]);                // support is not the releases page
    EXPECT_EQ(desktop.alerts, 3);
    std::filesystem::remove_all(dir);
}

TEST_F(AppDelegateTest, TrackInfoPollsFromTheSmokeSwitchOrThePageAndMediaCommandsFetchSoonAfter) {
    launch({"--track-info-smoke-test"});
    EXPECT_EQ(timers.live.size(), 1u); // the frame tick only, until the page has loaded
    finishLoading();
    EXPECT_EQ(timers.live.size(), 2u);
    send("musicInfo:0");
    EXPECT_EQ(timers.live.size(), 1u);
    send("musicInfo:1");
    EXPECT_EQ(timers.live.size(), 2u);
    send("media:next");
    EXPECT_THAT(mainQueue.pendingDelays(), Contains(0.4));
}

} // namespace
} // namespace vimbo::app
