#pragma once

#include "core/app/AppDelegate.h"

#include "fakes/FakeAppPlatform.h"
#include "fakes/FakeCapture.h"
#include "fakes/FakeChromeWindows.h"
#include "fakes/FakeDefaultAudioDevices.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeExportPlatform.h"
#include "fakes/FakeMicrophonePermission.h"
#include "fakes/FakePageHost.h"
#include "fakes/FakeStatusBar.h"
#include "fakes/InMemoryDefaults.h"
#include "fakes/ManualMainQueue.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vimbo::fakes {

// Closes as a real stream does, a moment later, so that a caller that does not wait for it shows.
struct SlowlyStoppingCapture : FakeCapture {
    void stop() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        FakeCapture::stop();
    }
};

// A delegate over in-memory fakes of every platform service it takes; it records the captures it
// makes and its debug log lines.
struct DelegateHarness {
    // Launches the delegate; capture starts and its report reaches the main thread, and its log lines,
    // not the concern of most tests, are forgotten.
    void launch(std::vector<const char*> switches = {},
                std::optional<std::string> resourceDir = "/opt/vimbo") {
        std::vector<const char*> argv{"vimbo"};
        argv.insert(argv.end(), switches.begin(), switches.end());
        auto makeCapture = [this](audio::AudioInput input) -> std::shared_ptr<audio::AudioCapturing> {
            std::lock_guard guard(capturesMutex);
            return made[input].emplace_back(std::make_shared<SlowlyStoppingCapture>());
        };
        app::AppServices services{
            .defaults = defaults,
            .systemLog = systemLog,
            .keepAwake = keepAwake,
            .clock = clock,
            .timers = timers,
            .mainQueue = mainQueue,
            .debugLog = [this](std::string_view line) { debugLines.emplace_back(line); },
            .audio = {.captureFactory = makeCapture,
                      .microphonePermission = permission,
                      .defaultDevices = devices},
            .exportPorts = exportPlatform.ports(),
            .statusBar = &statusBar,
            .terminate = [this] { ++terminations; },
            .desktop = &desktop,
        };
        delegate = std::make_shared<app::AppDelegate>(
            services, app::LaunchOptions::parse(static_cast<int>(argv.size()), argv.data()),
            std::move(resourceDir));
        delegate->applicationDidFinishLaunching(window, page, &chromeWindows);
        settleAudio();
        debugLines.clear();
    }
    // Also loads the page and forgets what the page-ready sequence sent.
    void launchReady(std::vector<const char*> switches = {}) {
        launch(std::move(switches));
        finishLoading();
        page.completeAll();
        mainQueue.runPending();
        page.scripts.clear();
    }
    // Lets the audio controller finish its work, then runs what it posted to the main thread.
    void settleAudio() {
        delegate->audioController().waitUntilSettled();
        mainQueue.runPending();
    }
    void send(const std::string& body) { page.listener->pageDidReceiveMessage(body); }
    void finishLoading() { page.listener->pageDidFinishLoading(); }
    // The captures made so far for `input`, oldest first.
    std::vector<std::shared_ptr<FakeCapture>> captures(audio::AudioInput input) {
        std::lock_guard guard(capturesMutex);
        return made[input];
    }

    InMemoryDefaults defaults;
    RecordingSystemLog systemLog;
    FakeKeepAwake keepAwake;
    ManualClock clock;
    ManualTimers timers;
    ManualMainQueue mainQueue;
    FakeMainWindow window;
    FakePageHost page;
    FakeChromeWindows chromeWindows;
    FakeStatusBar statusBar;
    FakeDesktop desktop;
    FakeExportPlatform exportPlatform;
    std::shared_ptr<FakeMicrophonePermission> permission = std::make_shared<FakeMicrophonePermission>();
    std::shared_ptr<FakeDefaultAudioDevices> devices = std::make_shared<FakeDefaultAudioDevices>();
    std::mutex capturesMutex;
    std::map<audio::AudioInput, std::vector<std::shared_ptr<FakeCapture>>> made;
    std::vector<std::string> debugLines;
    int terminations = 0;
    std::shared_ptr<app::AppDelegate> delegate;
};

} // namespace vimbo::fakes
