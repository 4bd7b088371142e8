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

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The page-ready push of the shortcut sheet, with the labels the Linux menus show.
std::string shortcutsScript() {
    return "__shortcuts(" + menus::KeyboardShortcutCatalog::json(menus::KeyLabelStyle::gtk) + ")";
}

class AppDelegateTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    AppDelegateTest() {
        withStatusBar = false;
        permission->answerAtOnce(true);
    }
};

// Launch and termination

TEST_F(AppDelegateTest, LaunchLoadsThePageOnceWithTheQueryOfTheFirstSwitchInFixedOrder) {
    const struct {
        std::vector<const char*> switches;
        const char* resourceDir;
        const char* url;
    } cases[] = {
        {{"--export-ui-test", "--export-smoke-test"},
         "/opt/my vimbo",
         "file:///opt/my%20vimbo/web/index.html?export-smoke-test"},
        // Switches match whole arguments only.
        {{"--export-ui-testing", "--shortcuts-ui-test"},
         "/opt/vimbo",
         "file:///opt/vimbo/web/index.html?shortcuts-ui-test"},
        {{"--export-smoke-test", "--export-skin-resume-test"},
         "/opt/vimbo",
         "file:///opt/vimbo/web/index.html?export-ui-test&export-skin-resume-test"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        launch(cases[i].switches, cases[i].resourceDir);
        ASSERT_EQ(page.loads.size(), i + 1);
        EXPECT_EQ(page.loads[i].url, cases[i].url);
        EXPECT_EQ(page.loads[i].readAccessDir, cases[i].resourceDir);
    }
}

TEST_F(AppDelegateTest, WithoutResourcesNoPageIsLoadedButTheRestStarts) {
    launch({}, std::nullopt);
    EXPECT_THAT(page.loads, IsEmpty());
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(delegate->keepAwakeActive());
    EXPECT_EQ(timers.liveCount(), 1u);
}

TEST_F(AppDelegateTest, LaunchShowsTheWindowHoldsTheDisplayAwakeAndStartsTheTickAt60Hz) {
    launch();
    EXPECT_EQ(window.showCount, 1);
    ASSERT_EQ(keepAwake.active.size(), 1u);
    EXPECT_EQ(keepAwake.active.begin()->second.kind, platform::ActivityKind::displaySleep);
    EXPECT_EQ(keepAwake.active.begin()->second.reason, "Vimbo visualizer running");
    ASSERT_EQ(timers.entries.size(), 1u);
    EXPECT_DOUBLE_EQ(timers.entries[0]->interval, 1.0 / 60.0);
    EXPECT_THAT(systemLog.lines, IsEmpty());
}

TEST_F(AppDelegateTest, OpaqueWebViewIsLoggedAndLaunchGoesOn) {
    page.transparentSupported = false;
    launch();
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo: WKWebView transparent background is unavailable"));
    EXPECT_EQ(page.loads.size(), 1u);
}

// The store's clamping of each stored value is its own test's concern.
TEST_F(AppDelegateTest, StoredPreferencesAreReadAtLaunchAndSensitivityIsClamped) {
    defaults.writeDouble("microphoneSensitivity", 20);
    launch();
    EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), 8.0f);
    EXPECT_FALSE(delegate->glassEnabled());

    defaults.writeString("microphoneSensitivity", "loud");
    defaults.writeBool("glassMode", true);
    launch();
    EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), 1.0f);
    EXPECT_TRUE(delegate->glassEnabled());
}

TEST_F(AppDelegateTest, TerminationStopsTheTickAndEndsEveryActivity) {
    launchReady();
    send("export:begin");
    ASSERT_EQ(keepAwake.active.size(), 2u);
    delegate->applicationWillTerminate();
    EXPECT_EQ(timers.liveCount(), 0u);
    EXPECT_THAT(keepAwake.active, IsEmpty());
    EXPECT_FALSE(delegate->keepAwakeActive());
    EXPECT_FALSE(delegate->exportActive());
    // Capture is stopped before termination returns.
    ASSERT_EQ(captureCount(audio::AudioInput::systemAudio), 1u);
    EXPECT_EQ(systemCaptures[0]->stops, 1);
    EXPECT_FALSE(delegate->audioController().snapshot().isRunning);
}

TEST_F(AppDelegateTest, ReopenShowsTheWindowAgain) {
    launch();
    window.visible = false;
    EXPECT_TRUE(delegate->applicationShouldHandleReopen());
    EXPECT_TRUE(window.visible);
    EXPECT_EQ(window.showCount, 2);
}

// Page-ready sequence and held values

TEST_F(AppDelegateTest, PageReadySendsHeldAndCurrentStateInOrder) {
    launch();
    EXPECT_THAT(page.scripts, IsEmpty());
    finishLoading();
    EXPECT_TRUE(delegate->pageReady());
    EXPECT_THAT(page.scripts,
                ElementsAre(shortcutsScript(), "__status('ok')", "__audioInput('systemAudio')",
                            "__micSensitivity(1.0)",
                            "window.__windowChrome && __windowChrome({\"mini\":false,\"onTop\":false})",
                            "window.__glass(false)"));
}

TEST_F(AppDelegateTest, OnlyTheLatestStatusAndInputAreHeldAndSensitivityIsDropped) {
    launch();
    delegate->sendStatus("microphone-unavailable");
    delegate->sendStatus("ok");
    delegate->sendAudioInput(audio::AudioInput::microphone);
    delegate->sendMicSensitivity(4.0f);
    defaults.writeDouble("microphoneSensitivity", 0.5);
    finishLoading();
    EXPECT_THAT(page.scripts,
                ElementsAre(shortcutsScript(), "__status('ok')", "__audioInput('microphone')",
                            "__micSensitivity(0.5)",
                            "window.__windowChrome && __windowChrome({\"mini\":false,\"onTop\":false})",
                            "window.__glass(false)"));
}

TEST_F(AppDelegateTest, AReloadRunsTheSequenceAgainWithoutTheConsumedHeldValues) {
    launchReady();
    finishLoading();
    EXPECT_THAT(page.scripts,
                ElementsAre(shortcutsScript(), "__audioInput('systemAudio')", "__micSensitivity(1.0)",
                            "window.__windowChrome && __windowChrome({\"mini\":false,\"onTop\":false})",
                            "window.__glass(false)"));
}

TEST_F(AppDelegateTest, AfterReadyValuesGoStraightToThePage) {
    launchReady();
    delegate->sendStatus("ok");
    delegate->sendAudioInput(audio::AudioInput::microphone);
    delegate->sendMicSensitivity(0.1f);
    EXPECT_THAT(page.scripts,
                ElementsAre("__status('ok')", "__audioInput('microphone')", "__micSensitivity(0.1)"));
}

// Audio capture

TEST_F(AppDelegateTest, AudioInputMessagesSwitchCaptureAndReportOnTheMainThread) {
    launchReady({"--debug"});
    send("audioInput:Microphone");
    settleAudio();
    EXPECT_EQ(captureCount(audio::AudioInput::microphone), 0u);

    send("audioInput:microphone");
    EXPECT_THAT(page.scripts, IsEmpty()); // the controller reports through the main queue
    settleAudio();
    EXPECT_THAT(page.scripts, ElementsAre("__audioInput('microphone')", "__status('ok')"));
    EXPECT_EQ(defaults.readString("audioInput"), "microphone");
    EXPECT_EQ(systemCaptures[0]->stops, 1);
    ASSERT_EQ(captureCount(audio::AudioInput::microphone), 1u);
    EXPECT_TRUE(micCaptures[0]->isRunning());
    EXPECT_EQ(delegate->audioController().snapshot(),
              (audio::AudioInputSnapshot{audio::AudioInput::microphone, true}));
    EXPECT_THAT(debugLines, ::testing::Contains("audio source selected input=microphone generation=2"));
}

// Which changes count, and which capture they restart, are the listeners' and the controller's tests.
TEST_F(AppDelegateTest, DefaultDeviceChangesAreLoggedOnceAndRestartTheCapture) {
    devices->output = "speakers";
    devices->input = "mic";
    launchReady({"--debug"});
    devices->notify(); // nothing changed
    settleAudio();
    EXPECT_THAT(debugLines, IsEmpty());

    devices->output = "headphones";
    devices->notify();
    settleAudio();
    EXPECT_THAT(debugLines, ::testing::Contains("default output changed to headphones"));
    EXPECT_EQ(captureCount(audio::AudioInput::systemAudio), 2u);
    EXPECT_TRUE(systemCaptures[1]->isRunning());
}

TEST_F(AppDelegateTest, AudioReportsAndTicksForAGoneDelegateAreDropped) {
    launchReady();
    delegate->audioController().select(audio::AudioInput::microphone);
    delegate->audioController().waitUntilSettled();
    page.scripts.clear();
    delegate.reset();
    mainQueue.runPending(); // the reports posted for the delegate find it gone
    timers.fireAll();       // the timer holds the delegate weakly
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_EQ(timers.liveCount(), 0u);
}

TEST_F(AppDelegateTest, MenuCommandsBeforeLoadShowTheWindowAndOnlyTheLastReachesThePage) {
    launch();
    window.visible = false;
    delegate->performMenuCommand(menus::WebMenuCommand::skin(3));
    EXPECT_TRUE(window.visible);
    delegate->performMenuCommand(menus::WebMenuCommand::cycleSkin(-1));
    EXPECT_THAT(page.scripts, IsEmpty());
    finishLoading();
    EXPECT_EQ(page.scripts.back(), "window.__menuCycleSkin(-1)");
    EXPECT_THAT(page.scriptsStartingWith("window.__menu"), ElementsAre("window.__menuCycleSkin(-1)"));
    finishLoading();
    EXPECT_THAT(page.scriptsStartingWith("window.__menu"), ElementsAre("window.__menuCycleSkin(-1)"));
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

// Message rules

TEST_F(AppDelegateTest, NonStringBodiesAndUnknownOrMiscasedMessagesChangeNothing) {
    launchReady();
    page.listener->pageDidReceiveMessage(std::nullopt);
    for (const char* body : {"Glass:1", "glass:1 ", "glass:", "keepAwake:2", "windowMode:MINI",
                             "menustate:{}", "micSensitivity", "export:begin ", ""}) {
        send(body);
    }
    EXPECT_FALSE(delegate->glassEnabled());
    EXPECT_FALSE(delegate->exportActive());
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_THAT(systemLog.lines, IsEmpty());
    EXPECT_FALSE(defaults.typeOf("glassMode").has_value());
}

// Main menu

class AppDelegateMenuTest : public AppDelegateTest {
  protected:
    void SetUp() override {
        launchReady();
        controller = std::make_unique<menus::MainMenuController>(menu, *delegate);
        delegate->setMainMenuController(controller.get());
    }
    void TearDown() override { delegate->setMainMenuController(nullptr); }
    void choose(const std::vector<std::string>& path, const std::string& title) {
        menu.item(path, title).item.activate();
    }

    fakes::FakeMainMenu menu;
    std::unique_ptr<menus::MainMenuController> controller;
};

TEST_F(AppDelegateMenuTest, ValidMenuStateMovesTheMenuAndMalformedStateChangesNothing) {
    send("menuState:%7B%22skin%22%3A5%2C%22dark%22%3Afalse%2C%22glow%22%3Atrue%2C%22glass%22%3Afalse%2C"
         "%22keepAwake%22%3Afalse%2C%22musicInfo%22%3Afalse%2C%22menuBarVisible%22%3Atrue%2C"
         "%22musicControl%22%3Atrue%2C%22exportMode%22%3Atrue%7D");
    EXPECT_TRUE(menu.item({"View", "Skin"}, "Parasite").checked);
    EXPECT_TRUE(menu.item({"Playback"}, "Play / Pause").enabled);
    EXPECT_FALSE(menu.item({"Window"}, "Mini Player").enabled);
    EXPECT_THAT(systemLog.lines, IsEmpty());

    page.scripts.clear();
    send("menuState:{\"skin\":0}"); // incomplete
    send("menuState:%7B");          // undecodable
    EXPECT_TRUE(menu.item({"View", "Skin"}, "Parasite").checked);
    EXPECT_FALSE(menu.item({"View", "Skin"}, "Glossy").checked);
    EXPECT_THAT(systemLog.lines,
                ElementsAre("Vimbo ignored malformed menu state", "Vimbo ignored malformed menu state"));
    EXPECT_THAT(page.scripts, IsEmpty());
}

TEST_F(AppDelegateMenuTest, MenuItemsSendTheirPageCommands) {
    choose({"View", "Skin"}, "Dust");
    choose({"View"}, "Next Skin");
    choose({"View"}, "Previous Skin");
    choose({"View", "Display"}, "Keep Display Awake");
    choose({"Playback"}, "Previous Track");
    choose({"Playback"}, "Next Track");
    choose({"Help"}, "Keyboard Shortcuts");
    choose({"View"}, "Show Settings…");
    EXPECT_THAT(page.scripts,
                ElementsAre("window.__menuSelectSkin(1)", "window.__menuCycleSkin(1)",
                            "window.__menuCycleSkin(-1)", "window.__menuToggleDisplay('keepAwake')",
                            "window.__menuMediaCommand('prev')", "window.__menuMediaCommand('next')",
                            "window.__menuShowShortcuts()", "window.__menuOpenSettings('normal')"));
}

TEST_F(AppDelegateMenuTest, SettingsIsDroppedAndDisabledWhileTheMenuShowsTheMiniPlayer) {
    controller->apply(menus::WindowMenuState{true, false});
    EXPECT_FALSE(menu.item({"View"}, "Show Settings…").enabled);
    window.visible = false;
    delegate->performMenuAction(menus::MenuAction::showSettings, {});
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_FALSE(window.visible);
    // Always on Top follows the delegate's own mini flag, which stays off here.
    EXPECT_FALSE(menu.item({"Window"}, "Always on Top").enabled);
}

TEST_F(AppDelegateTest, DragThroughKeepsValidRectanglesAndFallsThroughOnBadPayloads) {
    launchReady();
    send("dragThrough:[[0,0,10,0],[1,2,3,4]]");
    EXPECT_THAT(delegate->dragBar().passThroughRects, ElementsAre(chrome::PassThroughRect{1, 2, 3, 4}));
    send("dragThrough:{}");
    send("dragThrough:[[1,\"2\",3,4]]");
    send("dragThrough:[[1,2,3,4]");
    EXPECT_THAT(delegate->dragBar().passThroughRects, ElementsAre(chrome::PassThroughRect{1, 2, 3, 4}));
    send("dragThrough:[]");
    EXPECT_THAT(delegate->dragBar().passThroughRects, IsEmpty());
}

TEST_F(AppDelegateTest, KeepAwakeAndExportEachBeginOneActivityAndEndOnlyAHeldOne) {
    launchReady();
    send("keepAwake:0");
    EXPECT_FALSE(delegate->keepAwakeActive());
    send("keepAwake:0");
    send("keepAwake:1");
    send("keepAwake:1");
    EXPECT_EQ(keepAwake.begun, 2); // the launch's and one more
    EXPECT_EQ(keepAwake.active.size(), 1u);

    send("export:begin");
    send("export:begin");
    EXPECT_EQ(keepAwake.begun, 3);
    EXPECT_TRUE(delegate->exportActive());
    send("export:cancel");
    EXPECT_FALSE(delegate->exportActive());
    EXPECT_EQ(keepAwake.active.size(), 1u);
}

TEST_F(AppDelegateTest, GlassMessagesPersistThePreferenceAndTellThePageAndAppearanceSetsTheFlag) {
    launchReady();
    send("appearanceDark:1");
    EXPECT_TRUE(delegate->appearanceDark());
    send("appearanceDark:0");
    EXPECT_FALSE(delegate->appearanceDark());
    send("glass:1");
    EXPECT_TRUE(delegate->glassEnabled());
    EXPECT_EQ(defaults.readBool("glassMode"), true);
    send("glass:0");
    EXPECT_EQ(defaults.readBool("glassMode"), false);
    EXPECT_THAT(page.scripts, ElementsAre("window.__glass(true)", "window.__glass(false)"));
    page.completeAll();
    // Turning glass off finishes natively one main-queue step after the page has handled it.
    EXPECT_EQ(mainQueue.pending(), 1u);
}

TEST_F(AppDelegateTest, SensitivityIsClampedStoredAppliedAndEchoedAndNonFiniteBecomesOne) {
    launchReady();
    const struct {
        const char* payload;
        float applied;
        const char* echo;
    } cases[] = {{"20", 8.0f, "__micSensitivity(8.0)"},       {"0.01", 0.125f, "__micSensitivity(0.125)"},
                 {"2.5", 2.5f, "__micSensitivity(2.5)"},      {"nan", 1.0f, "__micSensitivity(1.0)"},
                 {"inf", 1.0f, "__micSensitivity(1.0)"},      {"1e50", 1.0f, "__micSensitivity(1.0)"},
                 {"1e-50", 0.125f, "__micSensitivity(0.125)"}};
    for (const auto& c : cases) {
        page.scripts.clear();
        send(std::string("micSensitivity:") + c.payload);
        EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), c.applied) << c.payload;
        EXPECT_EQ(defaults.readDouble("microphoneSensitivity"), c.applied) << c.payload;
        EXPECT_THAT(page.scripts, ElementsAre(c.echo)) << c.payload;
    }
}

TEST_F(AppDelegateTest, SensitivityThatIsNotANumberChangesNothing) {
    launchReady();
    for (const char* payload : {"abc", "", "1.5x", " 2", "2 "})
        send(std::string("micSensitivity:") + payload);
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_FALSE(defaults.typeOf("microphoneSensitivity").has_value());
    EXPECT_EQ(delegate->analyzer().microphoneSensitivity(), 1.0f);
}

TEST_F(AppDelegateTest, ExportErrorsAreDecodedIntoBothLogs) {
    launchReady({"--debug"});
    send("export:error:Disk%20full");
    send("export:error:100%");
    EXPECT_THAT(systemLog.lines, ElementsAre("Vimbo export failed: Disk full", "Vimbo export failed: 100%"));
    EXPECT_THAT(debugLines, ElementsAre("export failed: Disk full", "export failed: 100%"));
}

TEST_F(AppDelegateTest, MediaCommandsFetchTheTrackAgainAfterAPause) {
    launchReady();
    send("media:next");
    EXPECT_THAT(mainQueue.pendingDelays(), ElementsAre(0.4));
}

// Frame tick

TEST_F(AppDelegateTest, TickSendsTheFeatureLineOnlyWhenThePageIsReadyAndTheWindowVisible) {
    launch();
    timers.fireAll();
    EXPECT_THAT(page.scripts, IsEmpty());
    finishLoading();
    page.scripts.clear();
    timers.fireAll();
    auto expected = featureScript(audio::AudioFeatures{});
    EXPECT_THAT(page.scripts, ElementsAre(expected));
    window.visible = false;
    timers.fireAll();
    EXPECT_EQ(page.scripts.size(), 1u);
    EXPECT_EQ(delegate->frameCount(), 3);
}

TEST_F(AppDelegateTest, DebugLineEverySixtiethTickCarriesTheInputAndThePageTitle) {
    launchReady({"--debug"});
    for (int i = 0; i < 59; ++i)
        delegate->tick();
    EXPECT_THAT(debugLines, IsEmpty());
    delegate->tick();
    auto line =
        "features " + featureScript(audio::AudioFeatures{}) + " input=systemAudio running=true title=?";
    EXPECT_THAT(debugLines, ElementsAre(line));
    page.pageTitle = "Visuals";
    for (int i = 0; i < 60; ++i)
        delegate->tick();
    ASSERT_EQ(debugLines.size(), 2u);
    EXPECT_TRUE(debugLines[1].ends_with(" title=Visuals"));
}

TEST_F(AppDelegateTest, WithoutDebugNothingIsLogged) {
    launchReady();
    for (int i = 0; i < 120; ++i)
        delegate->tick();
    send("export:error:x");
    EXPECT_THAT(debugLines, IsEmpty());
}

} // namespace
} // namespace vimbo::app
