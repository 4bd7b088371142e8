#pragma once

#include "core/platform/AccessibilityTree.h"
#include "linux/GLibOwners.h"

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

// Applications' accessibility trees over AT-SPI: the session bus names the accessibility bus, whose
// registry lists the applications that expose their user interface.
class AtSpiAccessibilityTree : public platform::AccessibilityTree {
  public:
    explicit AtSpiAccessibilityTree(GDBusConnection* sessionBus);

    // All "vimbo.music". Trusted means the accessibility bus answers; the connection to it is kept
    // until it closes.
    bool isTrusted() override;
    std::optional<platform::AccessibleElement> application(std::int32_t pid) override;
    std::optional<std::string> title(const platform::AccessibleElement& element) override;
    std::optional<std::vector<platform::AccessibleElement>>
    children(const platform::AccessibleElement& element) override;

  private:
    bool connect();

    GObjectPtr<GDBusConnection> sessionBus_;
    GObjectPtr<GDBusConnection> accessibilityBus_;
};

} // namespace vimbo::linuxdesktop
