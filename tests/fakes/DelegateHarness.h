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
#include <optional>
#include <string>
#include <vector>

namespace vimbo::fakes {

// A delegate over in-memory fakes of every platform service it takes, launched without switches.
struct DelegateHarness {
    void launchDelegate(std::optional<std::string> resourceDir = "/opt/vimbo") {
        std::vector<const char*> argv{"vimbo"};
        app::AudioServices audio{[](audio::AudioInput) { return std::make_shared<FakeCapture>(); },
                                 std::make_shared<FakeMicrophonePermission>(),
                                 std::make_shared<FakeDefaultAudioDevices>()};
        app::AppServices services{defaults,
                                  systemLog,
                                  keepAwake,
                                  clock,
                                  timers,
                                  mainQueue,
                                  {},
                                  audio,
                                  menus::KeyLabelStyle::gtk,
                                  &statusBar,
                                  [this] { ++terminations; },
                                  &desktop};
        delegate = std::make_shared<app::AppDelegate>(
            services, app::LaunchOptions::parse(static_cast<int>(argv.size()), argv.data()),
            std::move(resourceDir));
        delegate->applicationDidFinishLaunching(window, page);
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
    FakeDesktop desktop;
    int terminations = 0;
    std::shared_ptr<app::AppDelegate> delegate;
};

} // namespace vimbo::fakes
