#pragma once

#include "core/audio/AudioFeatures.h"
#include "core/menubar/MenuBarActions.h"
#include "core/menubar/MenuBarController.h"
#include "core/platform/DefaultsStore.h"
#include "core/platform/StatusItem.h"

#include <functional>
#include <memory>

namespace vimbo::app {

// The menu bar icon as the application uses it: created at launch when the desktop has a status area,
// fed every frame, shown or hidden by the page, and watched for trays that stop showing it.
class MenuBarIcon {
  public:
    // Without a status bar there is never an icon and every call does nothing.
    MenuBarIcon(platform::StatusBar* statusBar, platform::DefaultsStore& defaults)
        : statusBar_(statusBar), defaults_(defaults) {}

    // `onGone` runs whenever no tray shows the icon any more (or it was hidden).
    void install(menubar::MenuBarActions actions, std::function<void()> onGone);
    void update(const audio::AudioFeatures& features, double now);
    // Shows or hides the icon and persists the choice.
    void setVisible(bool visible);
    // The user wants the icon; whether a tray actually shows it is `isReachable`.
    bool isVisible() const { return controller_ && controller_->isVisible(); }
    bool isReachable() const { return controller_ && controller_->isReachable(); }

  private:
    platform::StatusBar* statusBar_;
    platform::DefaultsStore& defaults_;
    std::unique_ptr<menubar::MenuBarController> controller_;
};

} // namespace vimbo::app
