#include "core/app/UpdateController.h"

namespace vimbo::app {

void UpdateController::checkForUpdates() {
    if (desktop_ && !desktop_->openAddress(releasesAddress_)) desktop_->alertSound();
}

} // namespace vimbo::app
