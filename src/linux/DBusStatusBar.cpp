#include "linux/DBusStatusBar.h"

#include "linux/DBusStatusItem.h"

namespace vimbo::linuxdesktop {

DBusStatusBar::DBusStatusBar(GDBusConnection* connection)
    : connection_(connection ? G_DBUS_CONNECTION(g_object_ref(connection)) : nullptr) {}

GDBusConnection* DBusStatusBar::connectSessionBus() {
    GErrorPtr error;
    GDBusConnection* connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, GErrorOut(error));
    if (!connection) g_warning("Vimbo tray: no session bus: %s", error->message);
    return connection;
}

std::unique_ptr<platform::StatusItem> DBusStatusBar::makeStatusItem(const std::string& label,
                                                                    platform::StatusItemEvents events) {
    // Each item gets a fresh number, so a re-shown icon never races the old one for its bus name.
    return std::make_unique<DBusStatusItem>(connection_.get(), nextNumber_++, label, std::move(events));
}

} // namespace vimbo::linuxdesktop
