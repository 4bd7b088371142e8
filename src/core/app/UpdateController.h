#pragma once

#include "core/platform/Desktop.h"

#include <string>

namespace vimbo::app {

// Software updates. Linux packages are updated by the system's package manager, so nothing is
// started on construction; a check the user asks for opens the releases page. Main thread.
class UpdateController {
  public:
    // Without a desktop a check does nothing.
    UpdateController(platform::Desktop* desktop, std::string releasesAddress)
        : desktop_(desktop), releasesAddress_(std::move(releasesAddress)) {}

    // Opens the releases page in the default browser, or sounds the alert when it cannot.
    void checkForUpdates();

  private:
    platform::Desktop* desktop_;
    std::string releasesAddress_;
};

} // namespace vimbo::app
