#include "core/app/AppDelegate.h"

#include "core/app/FeatureScript.h"
#include "core/util/PercentDecoding.h"

#include <utility>

namespace vimbo::app {
namespace {

constexpr double kFrameInterval = 1.0 / 60.0;
constexpr const char* kKeepAwakeReason = "Vimbo visualizer running";

} // namespace

AppDelegate::AppDelegate(AppServices services, LaunchOptions options, std::optional<std::string> resourceDir)
    : services_(std::move(services)), options_(std::move(options)), resourceDir_(std::move(resourceDir)),
      analyzer_(std::make_unique<audio::AudioAnalyzer>()), micSensitivityStore_(services_.defaults),
      debug_(options_.debug), glassPreferenceStore_(services_.defaults) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(platform::MainWindow& window, platform::PageHost& page) {
    glassEnabled_ = glassPreferenceStore_.load();
    window_ = &window;
    page_ = &page;
    page.setListener(this);
    if (!page.makeTransparent())
        services_.systemLog.write("Vimbo: WKWebView transparent background is unavailable");
    applyGlassSurface(effectiveGlass());
    loadPage();
    createMenuBarController();
    showMainWindow();
    if (!keepAwakeActivity_) beginKeepAwake();
    installAudioCallbacks();
    applyStoredMicSensitivity();
    audioStart();
    listenForDefaultAudioDeviceChanges();
    startFrameTick();
}

void AppDelegate::applicationWillTerminate() {
    timer_.reset();
    audioStop();
    endKeepAwake();
    if (exportActivity_) {
        services_.keepAwake.end(*exportActivity_);
        exportActivity_.reset();
    }
    resetExportFile(/*removePartial=*/true);
}

bool AppDelegate::applicationShouldHandleReopen() {
    showMainWindow();
    return true;
}

void AppDelegate::showMainWindow() {
    if (window_) window_->show();
}

void AppDelegate::loadPage() {
    if (!resourceDir_) return;
    auto url = "file://" + util::percentEncodedPath(*resourceDir_ + "/web/index.html") + options_.pageQuery;
    page_->load(url, *resourceDir_);
}

void AppDelegate::beginKeepAwake() {
    keepAwakeActivity_ = services_.keepAwake.begin(platform::ActivityKind::displaySleep, kKeepAwakeReason);
}

void AppDelegate::endKeepAwake() {
    if (!keepAwakeActivity_) return;
    services_.keepAwake.end(*keepAwakeActivity_);
    keepAwakeActivity_.reset();
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
    double now = services_.clock.now();
    auto features = analyzer_->analyze(now);
    updateMenuBar(features, now);
    auto script = featureScript(features);
    // The mini player does not exist yet, so the main window is the one showing the page.
    if (pageReady_ && window_ && window_->isVisible()) page_->evaluate(script);
    syncMiniLight();
    ++frameCount_;
    if (debug_ && frameCount_ % 60 == 0) {
        auto title = page_ ? page_->title() : std::nullopt;
        log("features " + script + " input=" + std::string(audio::rawValue(selectedInputSnapshot())) +
            " running=" + (captureRunningSnapshot() ? "true" : "false") + " title=" + title.value_or("?"));
    }
}

void AppDelegate::log(std::string_view message) {
    if (debug_ && services_.debugLog) services_.debugLog(message);
}

// placeholder until audio capture: nothing is captured, so the page hears system audio is not available yet.
void AppDelegate::audioStart() {
    sendStatus("waiting-system-permission");
}
void AppDelegate::audioStop() {}
void AppDelegate::audioSelect(audio::AudioInput) {}
void AppDelegate::installAudioCallbacks() {}
void AppDelegate::listenForDefaultAudioDeviceChanges() {}
audio::AudioInput AppDelegate::selectedInputSnapshot() const {
    return audio::AudioInput::systemAudio;
}
bool AppDelegate::captureRunningSnapshot() const {
    return false;
}

// placeholder until the menu bar icon.
void AppDelegate::createMenuBarController() {}
void AppDelegate::updateMenuBar(const audio::AudioFeatures&, double) {}
void AppDelegate::setMenuBarVisible(bool) {}

// placeholder until now playing.
void AppDelegate::startMusicPolling() {}
void AppDelegate::musicCommand(std::string_view) {}
void AppDelegate::fetchAndPushTrack() {}

// placeholder until video export.
void AppDelegate::openAudioFilePicker() {}
void AppDelegate::openBackgroundPicker() {}
void AppDelegate::chooseExportDestination(const std::string&, std::int64_t) {}
void AppDelegate::writeExportChunk(std::string_view) {}
void AppDelegate::finishExport() {}
void AppDelegate::resetExportFile(bool) {}

// placeholder until window chrome.
void AppDelegate::toggleFullScreen() {}
void AppDelegate::setMini(bool) {}
void AppDelegate::setChromeIdle(bool) {}
void AppDelegate::setAlwaysOnTop(bool) {}
void AppDelegate::syncMiniLight() {}
void AppDelegate::applyGlassSurface(bool) {}

} // namespace vimbo::app
