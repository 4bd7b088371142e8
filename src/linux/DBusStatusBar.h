#pragma once

#include "core/platform/StatusItem.h"
#include "core/platform/SystemLog.h"
#include "linux/GLibOwners.h"

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

// The desktop's status area through StatusNotifierItem on a D-Bus session bus.
class DBusStatusBar : public platform::StatusBar {
  public:
    // A null connection (no session bus) gives items that are never shown.
    DBusStatusBar(GDBusConnection* connection, platform::SystemLog& systemLog);
    DBusStatusBar(const DBusStatusBar&) = delete;
    DBusStatusBar& operator=(const DBusStatusBar&) = delete;

    // The session bus of $DBUS_SESSION_BUS_ADDRESS, or null with a log line.
    static GDBusConnection* connectSessionBus(platform::SystemLog& systemLog);

    std::unique_ptr<platform::StatusItem> makeStatusItem(const std::string& label,
                                                         platform::StatusItemEvents events) override;

  private:
    GObjectPtr<GDBusConnection> connection_;
    platform::SystemLog& systemLog_;
    int nextNumber_ = 1;
};

} // namespace vimbo::linuxdesktop
