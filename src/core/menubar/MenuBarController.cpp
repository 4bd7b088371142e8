#include "core/menubar/MenuBarController.h"

#include <string>

namespace vimbo::menubar {

using platform::StatusMenuItem;

namespace {

constexpr int kSkinMenuIndex = 0;
constexpr int kAudioReactiveIndex = 1;

} // namespace

MenuBarController::MenuBarController(MenuBarActions actions, platform::DefaultsStore& defaults,
                                     platform::StatusBar& statusBar)
    : actions_(std::move(actions)), preferences_(defaults), statusBar_(statusBar),
      selectedSkin_(preferences_.skin()), audioReactive_(preferences_.audioReactive()) {
    configureMenu();
    updateChecks();
    setVisible(preferences_.visible(), false);
}

void MenuBarController::configureMenu() {
    StatusMenuItem skins{StatusMenuItem::Kind::submenu, "Skin", {}, {}, false, {}, {}};
    for (MenuBarSkin skin : kAllMenuBarSkins)
        skins.children.push_back({StatusMenuItem::Kind::radio,
                                  std::string(menuTitle(skin)),
                                  std::string(kSelectSkin),
                                  std::string(rawValue(skin)),
                                  false,
                                  {},
                                  {}});
    auto item = [](std::string_view title, std::string_view action, std::string_view key = {}) {
        return StatusMenuItem{StatusMenuItem::Kind::action,
                              std::string(title),
                              std::string(action),
                              {},
                              false,
                              std::string(key),
                              {}};
    };
    StatusMenuItem separator{StatusMenuItem::Kind::separator, {}, {}, {}, false, {}, {}};
    menu_ = {skins,
             {StatusMenuItem::Kind::checkbox,
              "Audio Reactive",
              std::string(kToggleAudioReactive),
              {},
              false,
              {},
              {}},
             separator,
             item("Open Vimbo", kOpenVimbo),
             item("Check for Updates\u2026", kCheckForUpdates),
             item("Hide Menu Bar Icon", kHideMenuBar),
             separator,
             item("Quit Vimbo", kQuitVimbo, "q")};
}

void MenuBarController::updateChecks() {
    for (StatusMenuItem& skinItem : menu_[kSkinMenuIndex].children)
        skinItem.checked = skinItem.representedObject == rawValue(selectedSkin_);
    menu_[kAudioReactiveIndex].checked = audioReactive_;
    if (statusItem_) statusItem_->setMenu(menu_);
}

void MenuBarController::setVisible(bool visible, bool persist) {
    mainThread_.check();
    if (persist) preferences_.storeVisible(visible);
    if (visible == isVisible_) {
        if (!visible || statusItem_) return;
    } else {
        isVisible_ = visible;
        if (!visible) {
            removeStatusItem();
            return;
        }
    }
    platform::StatusItemEvents events;
    events.onMenuAction = [this](const std::string& action, const std::string& representedObject) {
        perform(action, representedObject);
    };
    events.onMenuWillOpen = [this] { menuWillOpen(); };
    events.onShownChanged = [this](bool shown) {
        if (onReachableChanged_) onReachableChanged_(shown);
    };
    statusItem_ = statusBar_.makeStatusItem("Vimbo", std::move(events));
    updateChecks();
    drawRestingImage();
}

void MenuBarController::removeStatusItem() {
    bool wasReachable = isReachable();
    statusItem_.reset();
    if (wasReachable && onReachableChanged_) onReachableChanged_(false);
}

void MenuBarController::drawRestingImage() {
    if (statusItem_) statusItem_->setImage(renderer_.image(selectedSkin_, {}, 0));
}

void MenuBarController::update(const audio::AudioFeatures& features, double at) {
    mainThread_.check();
    if (!isVisible_) return;
    auto frame = frameSampler_.sample(at, features.beat);
    if (!frame) return;
    MenuBarAudioFrame target{features.level,  features.bass,   features.mid,
                             features.treble, features.energy, frame->beat};
    MenuBarAudioFrame smoothed = motion_.update(target, audioReactive_, frame->deltaTime);
    // Drawing costs the main thread more than the rest of the tick; skip it while no tray shows the icon.
    if (statusItem_ && statusItem_->isShown())
        statusItem_->setImage(renderer_.image(selectedSkin_, smoothed, frame->deltaTime));
}

void MenuBarController::perform(std::string_view action, std::string_view representedObject) {
    mainThread_.check();
    if (action == kSelectSkin)
        selectSkin(representedObject);
    else if (action == kToggleAudioReactive)
        toggleAudioReactive();
    else if (action == kOpenVimbo)
        call(actions_.openVimbo);
    else if (action == kCheckForUpdates)
        call(actions_.checkForUpdates);
    else if (action == kHideMenuBar)
        hideMenuBar();
    else if (action == kQuitVimbo)
        call(actions_.quitVimbo);
}

void MenuBarController::selectSkin(std::string_view representedObject) {
    auto skin = menuBarSkin(representedObject);
    if (!skin) return;
    selectedSkin_ = *skin;
    preferences_.storeSkin(*skin);
    updateChecks();
    drawRestingImage();
}

void MenuBarController::toggleAudioReactive() {
    audioReactive_ = !audioReactive_;
    preferences_.storeAudioReactive(audioReactive_);
    if (!audioReactive_) motion_.current = {};
    updateChecks();
}

void MenuBarController::hideMenuBar() {
    preferences_.storeVisible(false);
    if (isVisible_) {
        isVisible_ = false;
        removeStatusItem();
    }
    call(actions_.onHideFromMenu);
}

} // namespace vimbo::menubar
