#include "linux/DesktopNotificationPrompt.h"

#include "linux/DBusCall.h"

namespace vimbo::linuxdesktop {

DesktopNotificationPrompt::DesktopNotificationPrompt(GDBusConnection* sessionBus)
    : bus_(G_DBUS_CONNECTION(g_object_ref(sessionBus))) {}

void DesktopNotificationPrompt::show() {
    // -1: the notification server decides how long it stays.
    g_dbus_connection_call(bus_.get(), "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                           "org.freedesktop.Notifications", "Notify",
                           g_variant_new("(susss@as@a{sv}i)", "Vimbo", 0u, "vimbo", kSummary, kBody,
                                         g_variant_new_strv(nullptr, 0),
                                         g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0), -1),
                           nullptr, G_DBUS_CALL_FLAGS_NONE, DBusCall::kTimeoutMs, nullptr, nullptr, nullptr);
}

} // namespace vimbo::linuxdesktop
