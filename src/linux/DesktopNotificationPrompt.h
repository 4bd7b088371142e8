#pragma once

#include "core/platform/AccessibilityPrompt.h"
#include "linux/GLibOwners.h"

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

// Asks the user, in one desktop notification, to turn on the accessibility service that lets Vimbo
// read browser tab titles.
class DesktopNotificationPrompt : public platform::AccessibilityPrompt {
  public:
    static constexpr const char* kSummary = "Vimbo can show what your browser plays";
    static constexpr const char* kBody =
        "Turn on assistive technologies in your desktop's accessibility settings (the AT-SPI service), "
        "then play something in your browser again.";

    explicit DesktopNotificationPrompt(GDBusConnection* sessionBus);

    // Any thread; the reply is not awaited.
    void show() override;

  private:
    GObjectPtr<GDBusConnection> bus_;
};

} // namespace vimbo::linuxdesktop
