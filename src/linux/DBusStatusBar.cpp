#include "linux/DBusStatusBar.h"

#include "linux/DBusStatusItem.h"

namespace vimbo::linuxdesktop {

DBusStatusBar::DBusStatusBar(GDBusConnection* connection, platform::SystemLog& systemLog)
    : connection_(connection ? G_DBUS_CONNECTION(g_object_ref(connection)) : nullptr), systemLog_(systemLog) {
}

GDBusConnection* DBusStatusBar::connectSessionBus(platform::SystemLog& systemLog) {
    GErrorPtr error;
    GDBusConnection* connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, GErrorOut(error));
    if (!connection) systemLog.warn(std::string("Vimbo tray: no session bus: ") + error->message);
    return connection;
}

std::unique_ptr<platform::StatusItem> DBusStatusBar::makeStatusItem(const std::string& label,
                                                                    platform::StatusItemEvents events) {
    // Each item gets a fresh number, so a re-shown icon never races the old one for its bus name.
    return std::make_unique<DBusStatusItem>(connection_.get(), systemLog_, nextNumber_++, label,
                                            std::move(events));
}

} // namespace vimbo::linuxdesktop
