#pragma once

#include "core/audio/AudioFeatures.h"
#include "core/menubar/MenuBarActions.h"
#include "core/menubar/MenuBarFrameSampler.h"
#include "core/menubar/MenuBarIconRenderer.h"
#include "core/menubar/MenuBarMotionState.h"
#include "core/menubar/MenuBarPreferences.h"
#include "core/platform/StatusItem.h"
#include "core/util/ThreadChecker.h"

#include <memory>
#include <string_view>
#include <vector>

namespace vimbo::menubar {

// Owns the status icon: its menu, its stored choices, and one redraw per 1/60 s from the audio.
// Main thread only.
class MenuBarController {
  public:
    // Action names of the menu entries, as the status item hands them back.
    static constexpr std::string_view kSelectSkin = "selectSkin:";
    static constexpr std::string_view kToggleAudioReactive = "toggleAudioReactive:";
    static constexpr std::string_view kOpenVimbo = "openVimboAction:";
    static constexpr std::string_view kCheckForUpdates = "checkForUpdatesAction:";
    static constexpr std::string_view kHideMenuBar = "hideMenuBarAction:";
    static constexpr std::string_view kQuitVimbo = "quitVimboAction:";

    MenuBarController(MenuBarActions actions, platform::DefaultsStore& defaults,
                      platform::StatusBar& statusBar);
    MenuBarController(const MenuBarController&) = delete;
    MenuBarController& operator=(const MenuBarController&) = delete;

    // Every frame tick, with the monotonic clock in seconds.
    void update(const audio::AudioFeatures& features, double at);
    void setVisible(bool visible, bool persist);
    bool isVisible() const { return isVisible_; }
    // Whether the user can reach Vimbo through the icon now: it is visible and a tray shows it.
    bool isReachable() const { return statusItem_ && statusItem_->isShown(); }
    // Called when the tray that shows the icon comes or goes.
    void setOnReachableChanged(std::function<void(bool)> callback) {
        onReachableChanged_ = std::move(callback);
    }

    // The status menu's entries, by action name; unknown actions and skins are ignored.
    void perform(std::string_view action, std::string_view representedObject);
    void menuWillOpen() { updateChecks(); }

    MenuBarSkin selectedSkin() const { return selectedSkin_; }
    bool audioReactive() const { return audioReactive_; }
    const MenuBarMotionState& motion() const { return motion_; }
    const MenuBarFrameSampler& frameSampler() const { return frameSampler_; }
    const MenuBarIconRenderer& renderer() const { return renderer_; }
    const std::vector<platform::StatusMenuItem>& menu() const { return menu_; }

  private:
    void configureMenu();
    void updateChecks();
    void selectSkin(std::string_view representedObject);
    void toggleAudioReactive();
    void hideMenuBar();
    void drawRestingImage();
    void removeStatusItem();
    static void call(const std::function<void()>& callback) {
        if (callback) callback();
    }

    std::unique_ptr<platform::StatusItem> statusItem_;
    std::vector<platform::StatusMenuItem> menu_;
    MenuBarIconRenderer renderer_;
    MenuBarActions actions_;
    MenuBarMotionState motion_;
    MenuBarFrameSampler frameSampler_;
    MenuBarPreferences preferences_;
    platform::StatusBar& statusBar_;
    MenuBarSkin selectedSkin_;
    bool audioReactive_;
    bool isVisible_ = false;
    std::function<void(bool)> onReachableChanged_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::menubar
