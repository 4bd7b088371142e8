#include "core/app/AppDelegate.h"

#include "core/app/AboutPanelContent.h"
#include "core/app/FeatureScript.h"
#include "core/util/PercentDecoding.h"
#include "core/util/SerialQueue.h"

#include <utility>

namespace vimbo::app {
namespace {

constexpr double kFrameInterval = 1.0 / 60.0;

} // namespace

AppDelegate::AppDelegate(AppServices services, LaunchOptions options, std::optional<std::string> resourceDir)
    : services_(std::move(services)), options_(std::move(options)), resourceDir_(std::move(resourceDir)),
      analyzer_(std::make_shared<audio::AudioAnalyzer>()),
      audio_(audio::AudioInputController::create(
          services_.defaults, analyzer_,
          std::make_unique<util::SerialQueue>(std::string(audio::AudioInputController::kQueueLabel)),
          services_.audio.captureFactory, services_.audio.microphonePermission, services_.mainQueue)),
      micSensitivityStore_(services_.defaults), activities_(services_.keepAwake), debug_(options_.debug),
      glass_(std::make_shared<chrome::GlassPresentation>(services_.defaults, services_.systemLog,
                                                         services_.mainQueue)),
      chrome_(services_.defaults, glass_), appearance_(services_.defaults),
      menuBarIcon_(services_.statusBar, services_.defaults), router_(pageMessageRules()),
      updateController_(services_.desktop, VIMBO_RELEASES_URL),
      music_(services_.mediaPlayers, services_.browserTitle, services_.mainQueue),
      musicPoll_(std::make_shared<MusicPoll>(
          music_, services_.timers, services_.mainQueue, [this] { return readyPage(); },
          [this](std::string_view line) { log(line); })),
      exportPickers_(export_::ExportPickers::create(
          services_.exportPorts, [this](const std::string& script) { evaluateExportCall(script); })),
      exportSession_(
          export_::ExportSession::create(services_.exportPorts, services_.systemLog,
                                         [this](const std::string& script) { evaluateExportCall(script); })) {
}

AppDelegate::~AppDelegate() {
    // The controller's queue may outlive the delegate; its callbacks post to the main queue, which
    // must not be reached once the delegate and the services it was given are gone.
    audio_->setOnStatus(nullptr);
    audio_->setOnInputChanged(nullptr);
    audio_->setOnDebugLog(nullptr);
    audio_->waitUntilSettled();
}

void AppDelegate::applicationDidFinishLaunching(platform::MainWindow& window, platform::PageHost& page,
                                                platform::ChromeWindows* chromeWindows) {
    mainThread_.check();
    glass_->load(appearance_.storedDark());
    window_ = &window;
    appearance_.attach(window);
    if (chromeWindows) chrome_.attach(*chromeWindows);
    page_ = &page;
    page.setListener(this);
    if (!page.makeTransparent())
        services_.systemLog.write("Vimbo: WebKitWebView transparent background is unavailable");
    loadPage();
    installMenuBarIcon();
    showMainWindow();
    activities_.beginKeepAwake();
    installAudioCallbacks();
    applyStoredMicSensitivity();
    audio_->start();
    listenForDefaultAudioDeviceChanges();
    startFrameTick();
}

void AppDelegate::applicationWillTerminate() {
    mainThread_.check();
    timer_.reset();
    audio_->stop();
    // The process ends next: let the capture close its stream on the server first.
    audio_->waitUntilSettled();
    activities_.endKeepAwake();
    activities_.endExport();
    exportSession_->reset(true);
}

bool AppDelegate::applicationShouldHandleReopen() {
    mainThread_.check();
    showMainWindow();
    return true;
}

void AppDelegate::showMainWindow() {
    hiddenByClose_ = false;
    if (chrome_.isMini())
        chrome_.showMiniPlayer();
    else if (window_)
        window_->show();
}

void AppDelegate::hideMainWindow() {
    if (!window_) return;
    window_->hide();
    hiddenByClose_ = true;
}

void AppDelegate::windowShouldClose() {
    mainThread_.check();
    if (menuBarIcon_.isVisible()) {
        if (menuBarIcon_.isReachable()) return hideMainWindow();
        // Hiding now would leave Vimbo running with no window and no icon to bring it back.
        services_.systemLog.write("Vimbo menu bar icon is not shown by any tray; quitting instead of hiding");
    }
    terminate();
}

void AppDelegate::terminate() {
    if (services_.terminate) services_.terminate();
}

void AppDelegate::loadPage() {
    if (!resourceDir_) {
        services_.systemLog.warn("Vimbo page not found: no resource folder holds web/index.html "
                                 "(VIMBO_RESOURCE_DIR names one)");
        return;
    }
    auto url = "file://" + util::percentEncodedPath(*resourceDir_ + "/web/index.html") + options_.pageQuery;
    page_->load(url, *resourceDir_);
}

void AppDelegate::applyStoredMicSensitivity() {
    // The store already turns a missing or non-finite value into 1.0 and clamps the rest.
    analyzer_->setMicrophoneSensitivity(
        audio::MicrophoneSensitivityStore::clamp(micSensitivityStore_.load()));
}

void AppDelegate::startFrameTick() {
    timer_ = services_.timers.repeat(kFrameInterval, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->tick();
    });
}

void AppDelegate::tick() {
    mainThread_.check();
    double now = services_.clock.now();
    auto features = analyzer_->analyze(now);
    menuBarIcon_.update(features, now);
    // The mini player shows the page while the main window is hidden.
    const bool toPage = pageReady_ && window_ && (window_->isVisible() || chrome_.isMini());
    ++frameCount_;
    const bool debugLine = debug_ && frameCount_ % 60 == 0;
    // Formatted only when someone reads it: a hidden window costs no text at all.
    if (!toPage && !debugLine) return;
    auto script = featureScript(features);
    // A line the page already has is not sent again: in silence the line stays the same for
    // seconds, and every call would wake the web process for nothing. Hidden, the page may miss
    // lines, so it gets the next one whatever it is.
    if (!toPage) {
        lastPushedFeatures_.clear();
    } else if (script != lastPushedFeatures_) {
        page_->evaluate(script);
        lastPushedFeatures_ = script;
    }
    if (debugLine) {
        auto title = page_ ? page_->title() : std::nullopt;
        auto capture = audio_->snapshot();
        log("features " + script + " input=" + std::string(audio::rawValue(capture.selectedInput)) +
            " running=" + (capture.isRunning ? "true" : "false") + " title=" + title.value_or("?"));
    }
}

void AppDelegate::log(std::string_view message) {
    if (debug_ && services_.debugLog) services_.debugLog(message);
}

void AppDelegate::installAudioCallbacks() {
    // "vimbo.audio-control" → main thread; the delegate is held weakly on the way.
    auto onMain = [weak = weak_from_this(), &mainQueue = services_.mainQueue](auto step) {
        mainQueue.post([weak, step = std::move(step)] {
            if (auto self = weak.lock()) step(*self);
        });
    };
    audio_->setOnStatus([onMain](audio::AudioCaptureStatus status) {
        onMain([status](AppDelegate& self) { self.sendStatus(std::string(audio::statusString(status))); });
    });
    audio_->setOnInputChanged([onMain](audio::AudioInput input) {
        onMain([input](AppDelegate& self) { self.sendAudioInput(input); });
    });
    audio_->setOnDebugLog(
        [onMain](const std::string& line) { onMain([line](AppDelegate& self) { self.log(line); }); });
}

void AppDelegate::listenForDefaultAudioDeviceChanges() {
    // Both run on the main thread, where the device listener delivers.
    deviceListeners_ = std::make_shared<DefaultDeviceListeners>(
        *services_.audio.defaultDevices,
        [weak = weak_from_this()](const std::string& line) {
            if (auto self = weak.lock()) self->log(line);
        },
        [weak = weak_from_this()](audio::AudioDeviceChange change) {
            if (auto self = weak.lock()) self->audio_->handleDeviceChange(change);
        });
    deviceListeners_->install();
}

void AppDelegate::installMenuBarIcon() {
    std::weak_ptr<AppDelegate> weak = weak_from_this();
    menubar::MenuBarActions actions;
    actions.openVimbo = [weak] {
        if (auto self = weak.lock()) self->showMainWindow();
    };
    actions.checkForUpdates = [weak] {
        if (auto self = weak.lock()) self->updateController_.checkForUpdates();
    };
    actions.quitVimbo = [weak] {
        if (auto self = weak.lock()) self->terminate();
    };
    actions.onHideFromMenu = [weak] {
        if (auto self = weak.lock(); self && self->page_)
            self->page_->evaluate("window.__menuBarHidden && __menuBarHidden()");
    };
    menuBarIcon_.install(std::move(actions), [weak] {
        if (auto self = weak.lock()) self->menuBarIconGone();
    });
}

void AppDelegate::menuBarIconGone() {
    // The tray went away (or the icon was hidden) while only the icon led back to the window.
    if (!hiddenByClose_) return;
    services_.systemLog.write("Vimbo menu bar icon is gone; showing the window again");
    showMainWindow();
}

void AppDelegate::showAboutPanel() {
    if (!services_.desktop) return;
    auto content = AboutPanelContent::make(VIMBO_VERSION, VIMBO_BUILD);
    services_.desktop->showAboutPanel(content.applicationName, content.applicationVersion,
                                      content.description, content.copyright);
}

void AppDelegate::showAcknowledgements() {
    if (!services_.desktop) return;
    auto path = resourceDir_ ? thirdPartyNoticesPath(*resourceDir_) : std::string();
    if (!path.empty() && services_.desktop->openFile(path)) return;
    services_.systemLog.write("Vimbo: " + std::string(kThirdPartyNotices) +
                              " is missing from the installation.");
    services_.desktop->alertSound();
}

void AppDelegate::openSupport() {
    if (services_.desktop && !services_.desktop->openAddress(VIMBO_SUPPORT_URL))
        services_.desktop->alertSound();
}

} // namespace vimbo::app
