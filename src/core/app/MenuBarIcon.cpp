#include "core/app/MenuBarIcon.h"

#include <utility>

namespace vimbo::app {

void MenuBarIcon::install(menubar::MenuBarActions actions, std::function<void()> onGone) {
    if (!statusBar_) return;
    controller_ = std::make_unique<menubar::MenuBarController>(std::move(actions), defaults_, *statusBar_);
    controller_->setOnReachableChanged([onGone = std::move(onGone)](bool reachable) {
        if (!reachable) onGone();
    });
}

void MenuBarIcon::update(const audio::AudioFeatures& features, double now) {
    if (controller_) controller_->update(features, now);
}

void MenuBarIcon::setVisible(bool visible) {
    if (controller_) controller_->setVisible(visible, true);
}

} // namespace vimbo::app
