// The page bridge of AppDelegate: messages from the page and script calls into it.
#include "core/app/AppDelegate.h"

#include "core/app/ScriptText.h"
#include "core/chrome/DragBarPassThrough.h"
#include "core/export/SavePayload.h"
#include "core/menus/KeyboardShortcutCatalog.h"
#include "core/menus/MenuActionRules.h"
#include "core/menus/NativeMenuState.h"
#include "core/util/PercentDecoding.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vimbo::app {
namespace {

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
    mainThread_.check();
    if (!body) return;
    // No rule's text holds a NUL; cut there, "audioInput:microphone\0junk" would pass as a valid choice.
    if (body->find('\0') != std::string::npos) {
        services_.systemLog.warn("Vimbo ignored a page message holding a NUL character: " + *body);
        return;
    }
    router_.route(*body);
}

// The rules in their fixed order.
PageMessageRouter AppDelegate::pageMessageRules() {
    PageMessageRouter rules;
    rules.prefix(menus::kMenuStatePrefix, [this](std::string_view payload) { applyMenuState(payload); })
        .prefixUnlessDeclined("dragThrough:",
                              [this](std::string_view json) { return takeDragThrough(json); });
    // Window chrome: full screen, the mini player, idle fading and floating.
    rules.exact("toggleFullscreen", [this] { chrome_.toggleFullScreen(); })
        .exact("windowMode:mini", [this] { chrome_.setMini(true); })
        .exact("windowMode:normal", [this] { chrome_.setMini(false); })
        .exact("chromeIdle:1", [this] { chrome_.setChromeIdle(true); })
        .exact("chromeIdle:0", [this] { chrome_.setChromeIdle(false); })
        .exact("alwaysOnTop:1", [this] { chrome_.setAlwaysOnTop(true); })
        .exact("alwaysOnTop:0", [this] { chrome_.setAlwaysOnTop(false); });
    // The appearance tints the glass backdrop and paints the window around the page.
    auto appearance = [this](bool dark) {
        glass_->setAppearanceDark(dark);
        appearance_.setDark(dark);
    };
    rules.exact("glass:1", [this] { glass_->setEnabled(true, readyPage()); })
        .exact("glass:0", [this] { glass_->setEnabled(false, readyPage()); })
        .exact("appearanceDark:1", [appearance] { appearance(true); })
        .exact("appearanceDark:0", [appearance] { appearance(false); })
        .exact("keepAwake:1", [this] { activities_.beginKeepAwake(); })
        .exact("keepAwake:0", [this] { activities_.endKeepAwake(); })
        .exact("musicInfo:1", [this] { musicPoll_->start(); })
        .exact("musicInfo:0", [this] { musicPoll_->stop(); });
    rules.exact("menuBar:1", [this] { menuBarIcon_.setVisible(true); })
        .exact("menuBar:0", [this] { menuBarIcon_.setVisible(false); })
        .prefix("audioInput:", [this](std::string_view name) { selectAudioInput(name); })
        .prefix("micSensitivity:", [this](std::string_view number) { updateMicSensitivity(number); });
    rules.prefix("media:", [this](std::string_view word) { musicPoll_->command(word); });
    // Export: the pickers, the destination, the chunks and finishing; the activity is held meanwhile.
    rules.exact("export:pick", [this] { exportPickers_->pickAudioFiles(); })
        .exact("export:pick-background", [this] { exportPickers_->pickBackground(); })
        .exact("export:begin", [this] { activities_.beginExport(); })
        .prefix("export:save:",
                [this](std::string_view payload) {
                    auto request = export_::parseSavePayload(payload);
                    exportSession_->chooseDestination(request.filename, request.estimatedBytes);
                })
        .prefix("export:write:", [this](std::string_view payload) { exportSession_->writeChunk(payload); })
        .exact("export:finish",
               [this] {
                   exportSession_->finish();
                   activities_.endExport();
               })
        .exact("export:cancel",
               [this] {
                   activities_.endExport();
                   exportSession_->reset(true);
               })
        .prefix("export:error:", [this](std::string_view text) { exportFailed(text); });
    return rules;
}

void AppDelegate::applyMenuState(std::string_view payload) {
    auto state = menus::decodeMenuState(payload);
    if (!state) {
        services_.systemLog.write("Vimbo ignored malformed menu state");
        return;
    }
    if (mainMenuController_) mainMenuController_->apply(*state);
    chrome_.setExportMode(state->exportMode);
}

bool AppDelegate::takeDragThrough(std::string_view payload) {
    auto rects = chrome::DragBarPassThrough::rects(payload);
    if (rects) chrome_.setPassThrough(std::move(*rects));
    return rects.has_value();
}

void AppDelegate::selectAudioInput(std::string_view name) {
    if (auto input = audio::audioInputFromRaw(name)) audio_->select(*input);
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

void AppDelegate::evaluateExportCall(const std::string& script) {
    if (page_) page_->evaluate(script);
}

void AppDelegate::setMainMenuController(menus::MainMenuController* controller) {
    mainMenuController_ = controller;
    chrome_.setMainMenuController(controller);
    if (mainMenuController_) mainMenuController_->validateItems();
}

void AppDelegate::performMenuAction(menus::MenuAction action, const menus::MenuValue& value) {
    mainThread_.check();
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
        updateController_.checkForUpdates();
        break;
    case menus::MenuAction::toggleMiniPlayerFromMenu:
        chrome_.toggleMiniPlayerFromMenu();
        break;
    case menus::MenuAction::toggleAlwaysOnTopFromMenu:
        chrome_.toggleAlwaysOnTopFromMenu();
        break;
    default:
        // The window's standard items are the menu's own.
        break;
    }
}

bool AppDelegate::validateMenuItem(menus::MenuAction action) const {
    return menus::validateMenuItem(action, mainMenuController_, chrome_.isMini());
}

void AppDelegate::pageDidFinishLoading() {
    mainThread_.check();
    pageReady_ = true;
    lastPushedFeatures_.clear(); // a reloaded page starts from silence
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
    chrome_.pageDidFinishLoading(*page_);
    glass_->synchronize(page_);
    if (pendingMenuCommand_) {
        auto command = *pendingMenuCommand_;
        pendingMenuCommand_.reset();
        performMenuCommand(command);
    }
    if (options_.trackInfoSmokeTest) musicPoll_->start();
}

void AppDelegate::sendStatus(const std::string& status) {
    mainThread_.check();
    if (pageReady_) {
        page_->evaluate("__status('" + status + "')");
    } else {
        pendingStatus_ = status;
    }
}

void AppDelegate::sendAudioInput(audio::AudioInput input) {
    mainThread_.check();
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
    mainThread_.check();
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

} // namespace vimbo::app
