#include "linux/DBusCall.h"

namespace vimbo::linuxdesktop {

GVariantPtr DBusCall::call(GDBusConnection* connection, const char* destination, const char* path,
                           const char* interface, const char* method, GVariant* parameters,
                           const char* replyType) {
    if (!connection) return nullptr;
    GErrorPtr error;
    return GVariantPtr(g_dbus_connection_call_sync(
        connection, destination, path, interface, method, parameters, G_VARIANT_TYPE(replyType),
        G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, nullptr, GErrorOut(error)));
}

GVariantPtr DBusCall::property(GDBusConnection* connection, const char* destination, const char* path,
                               const char* interface, const char* name) {
    auto reply = call(connection, destination, path, "org.freedesktop.DBus.Properties", "Get",
                      g_variant_new("(ss)", interface, name), "(v)");
    if (!reply) return nullptr;
    GVariantPtr value(g_variant_get_child_value(reply.get(), 0));
    return GVariantPtr(g_variant_get_variant(value.get()));
}

std::optional<std::int32_t> DBusCall::processOf(GDBusConnection* connection, const char* busName) {
    auto reply = call(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                      "GetConnectionUnixProcessID", g_variant_new("(s)", busName), "(u)");
    if (!reply) return std::nullopt;
    std::uint32_t pid = 0;
    g_variant_get(reply.get(), "(u)", &pid);
    return static_cast<std::int32_t>(pid);
}

} // namespace vimbo::linuxdesktop
