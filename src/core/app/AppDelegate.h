#pragma once

#include "core/app/DefaultDeviceListeners.h"
#include "core/app/KeepAwakeActivities.h"
#include "core/app/LaunchOptions.h"
#include "core/app/MenuBarIcon.h"
#include "core/app/MusicPoll.h"
#include "core/app/PageMessageRouter.h"
#include "core/app/UpdateController.h"
#include "core/audio/AudioAnalyzer.h"
#include "core/audio/AudioInput.h"
#include "core/audio/AudioInputController.h"
#include "core/audio/MicrophonePermissionProviding.h"
#include "core/audio/MicrophoneSensitivityStore.h"
#include "core/chrome/GlassPresentation.h"
#include "core/chrome/WindowAppearance.h"
#include "core/chrome/WindowChromeController.h"
#include "core/export/ExportPickers.h"
#include "core/export/ExportPorts.h"
#include "core/export/ExportSession.h"
#include "core/menus/MainMenuController.h"
#include "core/menus/MenuTarget.h"
#include "core/menus/ShortcutKey.h"
#include "core/menus/WebMenuCommand.h"
#include "core/nowplaying/BrowserTitle.h"
#include "core/nowplaying/MediaPlayers.h"
#include "core/nowplaying/MusicController.h"
#include "core/platform/ChromeWindows.h"
#include "core/platform/Clock.h"
#include "core/platform/DefaultAudioDevices.h"
#include "core/platform/DefaultsStore.h"
#include "core/platform/Desktop.h"
#include "core/platform/KeepAwake.h"
#include "core/platform/MainQueue.h"
#include "core/platform/MainWindow.h"
#include "core/platform/PageHost.h"
#include "core/platform/StatusItem.h"
#include "core/platform/SystemLog.h"
#include "core/platform/Timers.h"
#include "core/util/ThreadChecker.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vimbo::app {

// The sound system behind capture: a fresh back-end per start, microphone access and the default devices.
struct AudioServices {
    audio::AudioInputController::CaptureFactory captureFactory;
    std::shared_ptr<audio::MicrophonePermissionProviding> microphonePermission;
    std::shared_ptr<platform::DefaultAudioDevices> defaultDevices;
};

// The platform services the delegate drives; each outlives the delegate.
struct AppServices {
    platform::DefaultsStore& defaults;
    platform::SystemLog& systemLog;
    platform::KeepAwake& keepAwake;
    platform::Clock& clock;
    platform::Timers& timers;
    platform::MainQueue& mainQueue;
    // Appends one line to the debug log file; called only with "--debug".
    std::function<void(std::string_view)> debugLog;
    AudioServices audio;
    // The video export's panels, files and volumes.
    export_::ExportPorts exportPorts;
    // How the shortcut sheet writes keys: as the platform's own menus show them.
    menus::KeyLabelStyle shortcutLabels = menus::KeyLabelStyle::gtk;
    // The desktop's status area for the menu bar icon; without one there is no icon.
    platform::StatusBar* statusBar = nullptr;
    // Ends the application through its termination sequence.
    std::function<void()> terminate = nullptr;
    // About panel, acknowledgements and the support page; without it those items do nothing.
    platform::Desktop* desktop = nullptr;
    // What is playing: the music players and the browser source; without both, nothing is.
    std::shared_ptr<nowplaying::MediaPlayers> mediaPlayers = nullptr;
    nowplaying::BrowserTitle browserTitle = nullptr;
};

// Owns every long-lived object, runs launch and termination, the page bridge and the frame tick.
// Everything here runs on the main thread.
class AppDelegate : public platform::PageListener,
                    public menus::MenuTarget,
                    public std::enable_shared_from_this<AppDelegate> {
  public:
    // `resourceDir` holds web/index.html; without one no page is loaded.
    AppDelegate(AppServices services, LaunchOptions options, std::optional<std::string> resourceDir);
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // Lifecycle. `window`, `page` and `chromeWindows` stay alive until termination; without chrome
    // windows the page stays in the main window.
    void applicationDidFinishLaunching(platform::MainWindow& window, platform::PageHost& page,
                                       platform::ChromeWindows* chromeWindows = nullptr);
    void applicationWillTerminate();
    // Launching the program again while it runs: show the window. Answers true.
    bool applicationShouldHandleReopen();

    // One frame: analysis, menu bar icon, the feature call into the page, the debug line.
    void tick();

    // Page to native.
    void pageDidReceiveMessage(const std::optional<std::string>& body) override;
    void pageDidFinishLoading() override;

    // Native to page.
    void sendStatus(const std::string& status);
    void sendAudioInput(audio::AudioInput input);
    void sendMicSensitivity(float value);
    void performMenuCommand(const menus::WebMenuCommand& command);

    // The main menu, created by the entry point with this delegate as its target; may stay none.
    void setMainMenuController(menus::MainMenuController* controller);
    // Menu actions: page commands go to the page, the rest to their owners.
    void performMenuAction(menus::MenuAction action, const menus::MenuValue& value) override;
    bool validateMenuItem(menus::MenuAction action) const override;

    // Appends to the debug log when "--debug" is on.
    void log(std::string_view message);

    void showMainWindow();
    void hideMainWindow();
    // The user closed the main window: it is hidden while the menu bar icon can bring it back,
    // otherwise the application terminates.
    void windowShouldClose();

    // State read by the window chrome, the menus and tests.
    bool pageReady() const { return pageReady_; }
    const chrome::GlassPresentation& glass() const { return *glass_; }
    std::int64_t frameCount() const { return frameCount_; }
    const chrome::WindowChromeController& chrome() const { return chrome_; }
    audio::AudioAnalyzer& analyzer() { return *analyzer_; }
    audio::AudioInputController& audioController() { return *audio_; }

  private:
    // The page's messages, each rule handing its payload to the object that owns it.
    PageMessageRouter pageMessageRules();
    // Decodes the payload of "menuState:" and applies it, or logs that it could not.
    void applyMenuState(std::string_view payload);
    // False when the payload is not an array of arrays of numbers, so the message falls through.
    bool takeDragThrough(std::string_view payload);
    void selectAudioInput(std::string_view name);
    void updateMicSensitivity(std::string_view payload);
    void exportFailed(std::string_view payload);
    // Export calls reach the page whether or not it has loaded.
    void evaluateExportCall(const std::string& script);
    // The page once it has finished loading; null before.
    platform::PageHost* readyPage() const { return pageReady_ ? page_ : nullptr; }

    void loadPage();
    void startFrameTick();
    void applyStoredMicSensitivity();

    // The controller's callbacks come from its own queue: each moves to the main thread first.
    void installAudioCallbacks();
    // Follows the default devices and hands real changes to the controller.
    void listenForDefaultAudioDeviceChanges();

    // The menu bar icon's actions hold the delegate weakly.
    void installMenuBarIcon();
    // No tray shows the icon any more: a window hidden by closing it must come back.
    void menuBarIconGone();
    void terminate();

    void showAboutPanel();
    // Opens the acknowledgements file, or logs that it is missing and sounds the alert.
    void showAcknowledgements();
    void openSupport();

    AppServices services_;
    LaunchOptions options_;
    std::optional<std::string> resourceDir_;

    platform::MainWindow* window_ = nullptr;
    platform::PageHost* page_ = nullptr;
    menus::MainMenuController* mainMenuController_ = nullptr;
    std::shared_ptr<audio::AudioAnalyzer> analyzer_;
    std::shared_ptr<audio::AudioInputController> audio_;
    std::shared_ptr<DefaultDeviceListeners> deviceListeners_;
    audio::MicrophoneSensitivityStore micSensitivityStore_;
    std::unique_ptr<platform::RepeatingTimer> timer_;
    std::optional<menus::WebMenuCommand> pendingMenuCommand_;
    bool pageReady_ = false;
    KeepAwakeActivities activities_;
    const bool debug_;
    std::int64_t frameCount_ = 0;
    std::string lastPushedFeatures_; // the feature line the page holds
    std::shared_ptr<chrome::GlassPresentation> glass_;
    chrome::WindowChromeController chrome_;
    chrome::WindowAppearance appearance_;
    std::optional<audio::AudioInput> pendingAudioInput_;
    std::optional<std::string> pendingStatus_;
    MenuBarIcon menuBarIcon_;
    // The window was taken off the screen by closing it, so only the icon leads back to it.
    bool hiddenByClose_ = false;
    PageMessageRouter router_;
    UpdateController updateController_;
    nowplaying::MusicController music_;
    std::shared_ptr<MusicPoll> musicPoll_;
    std::shared_ptr<export_::ExportPickers> exportPickers_;
    std::shared_ptr<export_::ExportSession> exportSession_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::app
