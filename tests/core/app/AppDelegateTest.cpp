#include "core/app/AppDelegate.h"

#include "core/app/FeatureScript.h"
#include "core/menus/KeyboardShortcutCatalog.h"
#include "core/menus/MainMenuController.h"
#include "fakes/DelegateHarness.h"
#include "fakes/FakeMainMenu.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

class AppDelegateTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    AppDelegateTest() {
        withStatusBar = false;
        permission->answerAtOnce(true);
    }
};

TEST_F(AppDelegateTest, LaunchLoadsThePageOnceWithTheQueryOfTheFirstSwitchInFixedOrder) {
    launch({"--export-ui-test", "--export-smoke-test"}, "/opt/my vimbo");
    launch({"--export-smoke-test", "--export-skin-resume-test"});
    ASSERT_EQ(page.loads.size(), 2u);
    EXPECT_EQ(page.loads[0].url, "file:///opt/my%20vimbo/web/index.html?export-smoke-test");
    EXPECT_EQ(page.loads[0].readAccessDir, "/opt/my vimbo");
    EXPECT_EQ(page.loads[1].url, "file:///opt/vimbo/web/index.html?export-ui-test&export-skin-resume-test");
}

TEST_F(AppDelegateTest, LaunchStartsTheTickAt60HzEvenWithoutResourcesOrTransparency) {
    page.transparentSupported = false;
    launch({}, std::nullopt);
    EXPECT_THAT(page.loads, IsEmpty());
    EXPECT_TRUE(window.visible);
    ASSERT_EQ(keepAwake.active.size(), 1u);
    EXPECT_EQ(keepAwake.active.begin()->second, platform::ActivityKind::displaySleep);
    ASSERT_EQ(timers.entries.size(), 1u);
    EXPECT_DOUBLE_EQ(timers.entries[0]->interval, 1.0 / 60.0);
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo: WKWebView transparent background is unavailable"));
}

TEST_F(AppDelegateTest, StoredPreferencesAreReadAtLaunch) {
    defaults.writeDouble("microphoneSensitivity", 20);
    defaults.writeBool("glassMode", true);
    launch();
    EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), 8.0f);
    EXPECT_TRUE(delegate->glassEnabled());
}

TEST_F(AppDelegateTest, TerminationStopsTheTickCaptureAndEveryActivity) {
    launchReady();
    send("export:begin");
    ASSERT_EQ(keepAwake.active.size(), 2u);
    delegate->applicationWillTerminate();
    EXPECT_EQ(timers.liveCount(), 0u);
    EXPECT_THAT(keepAwake.active, IsEmpty());
    EXPECT_FALSE(delegate->exportActive());
    EXPECT_EQ(systemCaptures[0]->stops, 1);
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
}

TEST_F(AppDelegateTest, AudioInputMessagesSwitchCaptureAndReportOnTheMainThread) {
    launchReady({"--debug"});
    send("audioInput:Microphone");
    settleAudio();
    EXPECT_EQ(captureCount(audio::AudioInput::microphone), 0u);

    send("audioInput:microphone");
    EXPECT_THAT(page.scripts, IsEmpty());
    settleAudio();
    EXPECT_THAT(page.scripts, ElementsAre("__audioInput('microphone')", "__status('ok')"));
    EXPECT_EQ(systemCaptures[0]->stops, 1);
    ASSERT_EQ(captureCount(audio::AudioInput::microphone), 1u);
    EXPECT_THAT(debugLines, Contains("audio source selected input=microphone generation=2"));
}

TEST_F(AppDelegateTest, DefaultOutputChangeRestartsTheCapture) {
    devices->output = "speakers";
    launchReady();
    devices->output = "headphones";
    devices->notify();
    settleAudio();
    EXPECT_EQ(captureCount(audio::AudioInput::systemAudio), 2u);
    EXPECT_TRUE(systemCaptures[1]->isRunning());
}

TEST_F(AppDelegateTest, AudioReportsAndTicksForAGoneDelegateAreDropped) {
    launchReady();
    delegate->audioController().select(audio::AudioInput::microphone);
    delegate->audioController().waitUntilSettled();
    page.scripts.clear();
    delegate.reset();
    mainQueue.runPending();
    timers.fireAll();
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_EQ(timers.liveCount(), 0u);
}

TEST_F(AppDelegateTest, MenuCommandsBeforeLoadShowTheWindowAndOnlyTheLastReachesThePageOnce) {
    launch();
    window.visible = false;
    delegate->performMenuCommand(menus::WebMenuCommand::skin(3));
    EXPECT_TRUE(window.visible);
    delegate->performMenuCommand(menus::WebMenuCommand::cycleSkin(-1));
    EXPECT_THAT(page.scripts, IsEmpty());
    finishLoading();
    EXPECT_THAT(page.scripts, Contains("window.__menuCycleSkin(-1)"));
    EXPECT_THAT(page.scripts, Not(Contains(StartsWith("window.__menuSelectSkin"))));
    page.scripts.clear();
    finishLoading();
    EXPECT_THAT(page.scripts, Not(Contains(StartsWith("window.__menu"))));
}

TEST_F(AppDelegateTest, FailedPushesOfMenuCommandsShortcutsAndGlassAreLogged) {
    launch();
    finishLoading();
    page.completeAll("no __shortcuts");
    delegate->performMenuCommand(menus::WebMenuCommand::settings());
    EXPECT_EQ(page.scripts.back(), "window.__menuOpenSettings('normal')");
    page.completeAll("no function");
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo shortcut sheet push failed: no __shortcuts",
                                             "Vimbo Glass state push failed: no __shortcuts",
                                             "Vimbo menu command failed: no function"));
}

TEST_F(AppDelegateTest, NonStringBodiesAndUnknownOrMiscasedMessagesChangeNothing) {
    launchReady();
    page.listener->pageDidReceiveMessage(std::nullopt);
    for (const char* body :
         {"Glass:1", "glass:1 ", "glass:", "keepAwake:2", "windowMode:MINI", "menustate:{}", "micSensitivity",
          "export:begin ", "micSensitivity:1.5x", "micSensitivity: 2", "micSensitivity:", ""}) {
        send(body);
    }
    EXPECT_FALSE(delegate->glassEnabled());
    EXPECT_FALSE(delegate->exportActive());
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_THAT(systemLog.lines, IsEmpty());
    EXPECT_THAT(defaults.values, IsEmpty());
}

class AppDelegateMenuTest : public AppDelegateTest {
  protected:
    void SetUp() override {
        launchReady();
        controller = std::make_unique<menus::MainMenuController>(menu, *delegate);
        delegate->setMainMenuController(controller.get());
    }
    void TearDown() override { delegate->setMainMenuController(nullptr); }

    fakes::FakeMainMenu menu;
    std::unique_ptr<menus::MainMenuController> controller;
};

TEST_F(AppDelegateMenuTest, SettingsIsDroppedWhileTheMenuShowsTheMiniPlayer) {
    controller->apply(menus::WindowMenuState{true, false});
    window.visible = false;
    delegate->performMenuAction(menus::MenuAction::showSettings, {});
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_FALSE(window.visible);
}

TEST_F(AppDelegateTest, DragThroughRectanglesReachTheDragBarAndBadPayloadsKeepThem) {
    launchReady();
    send("dragThrough:[[1,2,3,4]]");
    send("dragThrough:{}");
    EXPECT_THAT(delegate->dragBar().passThroughRects, ElementsAre(chrome::PassThroughRect{1, 2, 3, 4}));
}

TEST_F(AppDelegateTest, KeepAwakeAndExportEachBeginOneActivityAndEndOnlyAHeldOne) {
    launchReady();
    for (const char* body : {"keepAwake:0", "keepAwake:0", "keepAwake:1", "keepAwake:1"})
        send(body);
    EXPECT_EQ(keepAwake.begun, 2);
    EXPECT_EQ(keepAwake.active.size(), 1u);
    send("export:begin");
    send("export:begin");
    EXPECT_EQ(keepAwake.begun, 3);
    send("export:cancel");
    EXPECT_FALSE(delegate->exportActive());
    EXPECT_EQ(keepAwake.active.size(), 1u);
}

// Clamping and storing are the store's concern; parsing the page's text is the delegate's.
TEST_F(AppDelegateTest, SensitivityTooLargeForAFloatBecomesOne) {
    launchReady();
    send("micSensitivity:1e50");
    EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), 1.0f);
    EXPECT_THAT(page.scripts, ElementsAre("__micSensitivity(1.0)"));
}

TEST_F(AppDelegateTest, TurningGlassOffFinishesNativelyOneMainQueueStepAfterThePageHandledIt) {
    launchReady();
    send("glass:0");
    EXPECT_THAT(page.scripts, ElementsAre("window.__glass(false)"));
    page.completeAll();
    EXPECT_EQ(mainQueue.pending(), 1u);
}

TEST_F(AppDelegateTest, ExportErrorsAreDecodedIntoBothLogsAndMediaFetchesTheTrackAfterAPause) {
    launchReady({"--debug"});
    send("export:error:Disk%20full");
    send("export:error:100%");
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo export failed: Disk full", "Vimbo export failed: 100%"));
    EXPECT_THAT(debugLines, ElementsAre("export failed: Disk full", "export failed: 100%"));
    send("media:next");
    EXPECT_THAT(mainQueue.pendingDelays(), ElementsAre(0.4));
}

TEST_F(AppDelegateTest, TickSendsTheFeatureLineOnlyWhenThePageIsReadyAndTheWindowVisible) {
    launch();
    timers.fireAll();
    EXPECT_THAT(page.scripts, IsEmpty());
    finishLoading();
    page.scripts.clear();
    timers.fireAll();
    EXPECT_THAT(page.scripts, ElementsAre(featureScript(audio::AudioFeatures{})));
    window.visible = false;
    timers.fireAll();
    EXPECT_EQ(page.scripts.size(), 1u);
}

TEST_F(AppDelegateTest, DebugLineEverySixtiethTick) {
    launchReady({"--debug"});
    for (int i = 0; i < 59; ++i)
        delegate->tick();
    EXPECT_THAT(debugLines, IsEmpty());
    delegate->tick();
    EXPECT_THAT(debugLines, ElementsAre("features " + featureScript(audio::AudioFeatures{}) +
                                        " input=systemAudio running=true title=?"));
}

} // namespace
} // namespace vimbo::app
