#pragma once

#include "core/app/AppDelegate.h"

#include "fakes/FakeAppPlatform.h"
#include "fakes/FakeCapture.h"
#include "fakes/FakeDefaultAudioDevices.h"
#include "fakes/FakeDesktop.h"
#include "fakes/FakeMicrophonePermission.h"
#include "fakes/FakePageHost.h"
#include "fakes/FakeStatusBar.h"
#include "fakes/InMemoryDefaults.h"
#include "fakes/ManualMainQueue.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::fakes {

// A delegate over in-memory fakes of every platform service it takes; it records the captures it
// makes and its debug log lines.
struct DelegateHarness {
    // Launches the delegate; capture starts and its report reaches the main thread, and its log lines,
    // not the concern of most tests, are forgotten.
    void launch(std::vector<const char*> switches = {},
                std::optional<std::string> resourceDir = "/opt/vimbo") {
        std::vector<const char*> argv{"vimbo"};
        argv.insert(argv.end(), switches.begin(), switches.end());
        auto makeCapture = [this](audio::AudioInput input) {
            std::lock_guard guard(capturesMutex);
            auto capture = std::make_shared<FakeCapture>();
            captures(input).push_back(capture);
            return capture;
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
            .statusBar = withStatusBar ? &statusBar : nullptr,
            .terminate = [this] { ++terminations; },
            .desktop = &desktop,
        };
        delegate = std::make_shared<app::AppDelegate>(
            services, app::LaunchOptions::parse(static_cast<int>(argv.size()), argv.data()),
            std::move(resourceDir));
        delegate->applicationDidFinishLaunching(window, page);
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
    std::vector<std::shared_ptr<FakeCapture>>& captures(audio::AudioInput input) {
        return input == audio::AudioInput::microphone ? micCaptures : systemCaptures;
    }
    std::size_t captureCount(audio::AudioInput input) {
        std::lock_guard guard(capturesMutex);
        return captures(input).size();
    }

    InMemoryDefaults defaults;
    RecordingSystemLog systemLog;
    FakeKeepAwake keepAwake;
    ManualClock clock;
    ManualTimers timers;
    ManualMainQueue mainQueue;
    FakeMainWindow window;
    FakePageHost page;
    FakeStatusBar statusBar;
    bool withStatusBar = true;
    FakeDesktop desktop;
    std::shared_ptr<FakeMicrophonePermission> permission = std::make_shared<FakeMicrophonePermission>();
    std::shared_ptr<FakeDefaultAudioDevices> devices = std::make_shared<FakeDefaultAudioDevices>();
    std::mutex capturesMutex;
    std::vector<std::shared_ptr<FakeCapture>> systemCaptures;
    std::vector<std::shared_ptr<FakeCapture>> micCaptures;
    std::vector<std::string> debugLines;
    int terminations = 0;
    std::shared_ptr<app::AppDelegate> delegate;
};

} // namespace vimbo::fakes
