#include "linux/AtSpiAccessibilityTree.h"

#include "linux/DBusCall.h"

#include <string_view>

namespace vimbo::linuxdesktop {

namespace {

constexpr const char* kRegistry = "org.a11y.atspi.Registry";
constexpr const char* kRootPath = "/org/a11y/atspi/accessible/root";
constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
// Where an element stands for "no object" (a child that went away).
constexpr std::string_view kNullPath = "/org/a11y/atspi/null";

} // namespace

AtSpiAccessibilityTree::AtSpiAccessibilityTree(GDBusConnection* sessionBus)
    : sessionBus_(G_DBUS_CONNECTION(g_object_ref(sessionBus))) {}

bool AtSpiAccessibilityTree::isTrusted() {
    if (accessibilityBus_ && g_dbus_connection_is_closed(accessibilityBus_.get())) accessibilityBus_.reset();
    if (!accessibilityBus_ && !connect()) return false;
    return DBusCall::call(accessibilityBus_.get(), kRegistry, kRootPath, "org.freedesktop.DBus.Peer", "Ping",
                          nullptr, "()") != nullptr;
}

bool AtSpiAccessibilityTree::connect() {
    auto reply = DBusCall::call(sessionBus_.get(), "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                "GetAddress", nullptr, "(s)");
    if (!reply) return false;
    const char* address = nullptr;
    g_variant_get(reply.get(), "(&s)", &address);
    GErrorPtr error;
    accessibilityBus_.reset(g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, GErrorOut(error)));
    return accessibilityBus_ != nullptr;
}

std::optional<platform::AccessibleElement> AtSpiAccessibilityTree::application(std::int32_t pid) {
    auto applications = children({kRegistry, kRootPath});
    if (!applications) return std::nullopt;
    for (auto& application : *applications) {
        if (DBusCall::processOf(accessibilityBus_.get(), application.owner.c_str()) == pid)
            return application;
    }
    return std::nullopt;
}

std::optional<std::string> AtSpiAccessibilityTree::title(const platform::AccessibleElement& element) {
    auto name = DBusCall::property(accessibilityBus_.get(), element.owner.c_str(), element.path.c_str(),
                                   kAccessible, "Name");
    if (!name || !g_variant_is_of_type(name.get(), G_VARIANT_TYPE_STRING)) return std::nullopt;
    return g_variant_get_string(name.get(), nullptr);
}

std::optional<std::vector<platform::AccessibleElement>>
AtSpiAccessibilityTree::children(const platform::AccessibleElement& element) {
    auto reply = DBusCall::call(accessibilityBus_.get(), element.owner.c_str(), element.path.c_str(),
                                kAccessible, "GetChildren", nullptr, "(a(so))");
    if (!reply) return std::nullopt;
    std::vector<platform::AccessibleElement> elements;
    GVariantIter* iter = nullptr;
    g_variant_get(reply.get(), "(a(so))", &iter);
    const char* owner = nullptr;
    const char* path = nullptr;
    while (g_variant_iter_next(iter, "(&s&o)", &owner, &path)) {
        if (path != kNullPath) elements.push_back({owner, path});
    }
    g_variant_iter_free(iter);
    return elements;
}

} // namespace vimbo::linuxdesktop
