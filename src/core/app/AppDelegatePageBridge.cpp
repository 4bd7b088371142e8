// The page bridge of AppDelegate: messages from the page and script calls into it.
#include "core/app/AppDelegate.h"

#include "core/app/SavePayload.h"
#include "core/app/ScriptText.h"
#include "core/chrome/DragBarPassThrough.h"
#include "core/menus/KeyboardShortcutCatalog.h"
#include "core/menus/MenuActionRules.h"
#include "core/menus/NativeMenuState.h"
#include "core/util/PercentDecoding.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vimbo::app {
namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The whole text as a 32-bit float; text beyond the float range gives an infinity or zero, as a float
// parser does.
std::optional<float> parseFloat(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size()) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        auto exponent = text.find_first_of("eE");
        bool tiny = exponent != std::string_view::npos && text.find('-', exponent) != std::string_view::npos;
        return tiny ? 0.0f : std::numeric_limits<float>::infinity();
    }
    if (error != std::errc{}) return std::nullopt;
    if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::copysign(std::numeric_limits<float>::infinity(), static_cast<float>(value > 0 ? 1 : -1));
    }
    return static_cast<float>(value);
}

} // namespace

void AppDelegate::pageDidReceiveMessage(const std::optional<std::string>& body) {
    if (body) dispatchMessage(*body);
}

// The rules in their fixed order; the first that matches acts. Returns whether one matched.
bool AppDelegate::dispatchMessage(std::string_view body) {
    if (startsWith(body, "menuState:")) {
        if (!applyMenuStateMessage(body)) services_.systemLog.write("Vimbo ignored malformed menu state");
        return true;
    }
    if (startsWith(body, "dragThrough:")) {
        // A payload that is not an array of arrays of numbers falls through to the later rules.
        if (auto rects = chrome::DragBarPassThrough::rects(body.substr(12))) {
            dragBar_.passThroughRects = std::move(*rects);
            return true;
        }
    }
    if (body == "toggleFullscreen") {
        toggleFullScreen();
    } else if (body == "windowMode:mini" || body == "windowMode:normal") {
        setMini(body == "windowMode:mini");
    } else if (body == "chromeIdle:1" || body == "chromeIdle:0") {
        setChromeIdle(body == "chromeIdle:1");
    } else if (body == "alwaysOnTop:1" || body == "alwaysOnTop:0") {
        setAlwaysOnTop(body == "alwaysOnTop:1");
    } else if (body == "glass:1" || body == "glass:0") {
        glassEnabled_ = body == "glass:1";
        glassPreferenceStore_.save(glassEnabled_);
        synchronizeGlassPresentation();
    } else if (body == "appearanceDark:1" || body == "appearanceDark:0") {
        appearanceDark_ = body == "appearanceDark:1";
        applyGlassSurface(effectiveGlass());
    } else if (body == "keepAwake:1") {
        if (!keepAwakeActivity_) beginKeepAwake();
    } else if (body == "keepAwake:0") {
        endKeepAwake();
    } else if (body == "musicInfo:1") {
        startMusicPolling();
    } else if (body == "musicInfo:0") {
        musicTimer_.reset();
    } else if (body == "menuBar:1" || body == "menuBar:0") {
        setMenuBarVisible(body == "menuBar:1");
    } else if (startsWith(body, "audioInput:")) {
        if (auto input = audio::audioInputFromRaw(body.substr(11))) audio_->select(*input);
    } else if (startsWith(body, "micSensitivity:")) {
        updateMicSensitivity(body.substr(15));
    } else if (startsWith(body, "media:")) {
        musicCommand(body.substr(6));
        afterMediaCommand();
    } else if (body == "export:pick") {
        openAudioFilePicker();
    } else if (body == "export:pick-background") {
        openBackgroundPicker();
    } else if (body == "export:begin") {
        if (!exportActivity_) {
            exportActivity_ = services_.keepAwake.begin(platform::ActivityKind::systemSleep,
                                                        "Vimbo video export in progress");
        }
    } else if (startsWith(body, "export:save:")) {
        auto payload = SavePayload::parse(body.substr(12));
        chooseExportDestination(payload.filename, payload.estimatedBytes);
    } else if (startsWith(body, "export:write:")) {
        writeExportChunk(body.substr(13));
    } else if (body == "export:finish") {
        finishExport();
    } else if (body == "export:cancel") {
        if (exportActivity_) {
            services_.keepAwake.end(*exportActivity_);
            exportActivity_.reset();
        }
        resetExportFile(/*removePartial=*/true);
    } else if (startsWith(body, "export:error:")) {
        exportFailed(body.substr(13));
    } else {
        return false;
    }
    return true;
}

void AppDelegate::updateMicSensitivity(std::string_view payload) {
    auto parsed = parseFloat(payload);
    if (!parsed) return;
    float value = audio::MicrophoneSensitivityStore::clamp(*parsed);
    micSensitivityStore_.save(value);
    analyzer_->setMicrophoneSensitivity(value);
    sendMicSensitivity(value);
}

void AppDelegate::exportFailed(std::string_view payload) {
    auto text = util::percentDecoded(payload).value_or(std::string(payload));
    services_.systemLog.write("Vimbo export failed: " + text);
    log("export failed: " + text);
}

void AppDelegate::setMainMenuController(menus::MainMenuController* controller) {
    mainMenuController_ = controller;
    if (mainMenuController_) mainMenuController_->validateItems();
}

void AppDelegate::performMenuAction(menus::MenuAction action, const menus::MenuValue& value) {
    if (auto command = menus::webMenuCommand(action, value)) {
        performMenuCommand(*command);
        return;
    }
    switch (action) {
    case menus::MenuAction::showAboutPanel:
        showAboutPanel();
        break;
    case menus::MenuAction::showAcknowledgements:
        showAcknowledgements();
        break;
    case menus::MenuAction::openSupport:
        openSupport();
        break;
    case menus::MenuAction::checkForUpdates:
        checkForUpdates();
        break;
    case menus::MenuAction::toggleMiniPlayerFromMenu:
        setMini(!isMini_);
        break;
    case menus::MenuAction::toggleAlwaysOnTopFromMenu:
        if (isMini_) setAlwaysOnTop(!isAlwaysOnTop_);
        break;
    default:
        break;
    }
}

bool AppDelegate::validateMenuItem(menus::MenuAction action) const {
    return menus::validateMenuItem(action, mainMenuController_, isMini_);
}

void AppDelegate::afterMediaCommand() {
    // Players take a moment to report the new track.
    services_.mainQueue.postAfter(0.4, [weak = weak_from_this()] {
        if (auto self = weak.lock()) self->fetchAndPushTrack();
    });
}

void AppDelegate::pageDidFinishLoading() {
    pageReady_ = true;
    chromePushGate_.lastState.reset();
    page_->evaluate("__shortcuts(" + menus::KeyboardShortcutCatalog::json(services_.shortcutLabels) + ")",
                    [weak = weak_from_this()](const std::optional<std::string>& error) {
                        auto self = weak.lock();
                        if (self && error)
                            self->services_.systemLog.write("Vimbo shortcut sheet push failed: " + *error);
                    });
    if (pendingStatus_) {
        auto status = std::move(*pendingStatus_);
        pendingStatus_.reset();
        sendStatus(status);
    }
    auto input = pendingAudioInput_.value_or(audio_->snapshot().selectedInput);
    pendingAudioInput_.reset();
    sendAudioInput(input);
    sendMicSensitivity(micSensitivityStore_.load());
    pushWindowChrome();
    synchronizeGlassPresentation();
    if (pendingMenuCommand_) {
        auto command = *pendingMenuCommand_;
        pendingMenuCommand_.reset();
        performMenuCommand(command);
    }
    if (options_.trackInfoSmokeTest) startMusicPolling();
}

void AppDelegate::sendStatus(const std::string& status) {
    if (pageReady_) {
        page_->evaluate("__status('" + status + "')");
    } else {
        pendingStatus_ = status;
    }
}

void AppDelegate::sendAudioInput(audio::AudioInput input) {
    if (pageReady_) {
        page_->evaluate("__audioInput('" + std::string(audio::rawValue(input)) + "')");
    } else {
        pendingAudioInput_ = input;
    }
}

void AppDelegate::sendMicSensitivity(float value) {
    if (pageReady_) page_->evaluate("__micSensitivity(" + shortestFloatText(value) + ")");
}

void AppDelegate::performMenuCommand(const menus::WebMenuCommand& command) {
    if (command.kind() == menus::WebMenuCommand::Kind::settings && mainMenuController_ &&
        mainMenuController_->windowState().mini)
        return;
    showMainWindow();
    if (!pageReady_) {
        pendingMenuCommand_ = command;
        return;
    }
    page_->evaluate(command.javascript(), [weak = weak_from_this()](const std::optional<std::string>& error) {
        auto self = weak.lock();
        if (self && error) self->services_.systemLog.write("Vimbo menu command failed: " + *error);
    });
}

bool AppDelegate::effectiveGlass() const {
    return glassEnabled_ && !(isFullScreen_ || isExportMode_);
}

// The backdrop goes on before the page is told and off only after the page has handled the call.
void AppDelegate::synchronizeGlassPresentation() {
    bool want = effectiveGlass();
    if (want) applyGlassSurface(true);
    if (!pageReady_) {
        if (!want) applyGlassSurface(false);
        return;
    }
    page_->evaluate(std::string("window.__glass(") + (want ? "true" : "false") + ")",
                    [weak = weak_from_this(), want](const std::optional<std::string>& error) {
                        auto self = weak.lock();
                        if (!self) return;
                        if (error)
                            self->services_.systemLog.write("Vimbo Glass state push failed: " + *error);
                        if (want) return;
                        self->services_.mainQueue.post([weak] {
                            auto later = weak.lock();
                            if (later && !later->effectiveGlass()) later->applyGlassSurface(false);
                        });
                    });
}

void AppDelegate::pushWindowChrome() {
    syncMiniLight();
    chrome::WindowChromeState state{isMini_, isAlwaysOnTop_};
    if (mainMenuController_) mainMenuController_->apply(menus::WindowMenuState{isMini_, isAlwaysOnTop_});
    if (!pageReady_ || chromePushGate_.lastState == state) return;
    chromePushGate_.lastState = state;
    page_->evaluate("window.__windowChrome && __windowChrome(" + state.json() + ")");
}

bool AppDelegate::applyMenuStateMessage(std::string_view body) {
    auto state = menus::menuStateFromMessage(body);
    if (!state) return false;
    if (mainMenuController_) mainMenuController_->apply(*state);
    if (state->exportMode != isExportMode_) {
        isExportMode_ = state->exportMode;
        synchronizeGlassPresentation();
    }
    syncMiniLight();
    return true;
}

} // namespace vimbo::app
