#include "linux/DesktopColorScheme.h"

#include <cstring>

namespace vimbo::linuxdesktop {

namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";
constexpr const char* kNamespace = "org.freedesktop.appearance";
constexpr const char* kKey = "color-scheme";

} // namespace

DesktopColorScheme::DesktopColorScheme(GDBusConnection* connection, std::function<void()> onChanged)
    : connection_(connection), onChanged_(std::move(onChanged)), cancellable_(g_cancellable_new()) {
    subscription_ = g_dbus_connection_signal_subscribe(connection_, kPortal, kSettings, "SettingChanged",
                                                       kPortalPath, kNamespace, G_DBUS_SIGNAL_FLAGS_NONE,
                                                       onSettingChanged, this, nullptr);
    g_dbus_connection_call(connection_, kPortal, kPortalPath, kSettings, "Read",
                           g_variant_new("(ss)", kNamespace, kKey), G_VARIANT_TYPE("(v)"),
                           G_DBUS_CALL_FLAGS_NONE, 2000, cancellable_, onRead, this);
}

DesktopColorScheme::~DesktopColorScheme() {
    g_cancellable_cancel(cancellable_);
    g_object_unref(cancellable_);
    g_dbus_connection_signal_unsubscribe(connection_, subscription_);
}

void DesktopColorScheme::onRead(GObject* source, GAsyncResult* result, gpointer data) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (!reply) {
        // Cancelled means the owner is gone; no portal simply leaves the light default.
        g_error_free(error);
        return;
    }
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    static_cast<DesktopColorScheme*>(data)->apply(value);
    g_variant_unref(value);
    g_variant_unref(reply);
}

void DesktopColorScheme::onSettingChanged(GDBusConnection*, const char*, const char*, const char*,
                                          const char*, GVariant* parameters, gpointer data) {
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) return;
    const char* name = nullptr;
    const char* key = nullptr;
    GVariant* value = nullptr;
    g_variant_get(parameters, "(&s&sv)", &name, &key, &value);
    if (std::strcmp(name, kNamespace) == 0 && std::strcmp(key, kKey) == 0)
        static_cast<DesktopColorScheme*>(data)->apply(value);
    g_variant_unref(value);
}

void DesktopColorScheme::apply(GVariant* value) {
    // The older Read wraps the value in one more variant than ReadOne does.
    GVariant* inner = g_variant_ref(value);
    while (g_variant_is_of_type(inner, G_VARIANT_TYPE_VARIANT)) {
        GVariant* next = g_variant_get_variant(inner);
        g_variant_unref(inner);
        inner = next;
    }
    // 1 is "prefer dark"; 0 (no preference) and 2 (prefer light) read as light.
    bool dark = g_variant_is_of_type(inner, G_VARIANT_TYPE_UINT32) && g_variant_get_uint32(inner) == 1;
    g_variant_unref(inner);
    if (dark == prefersDark_) return;
    prefersDark_ = dark;
    if (onChanged_) onChanged_();
}

} // namespace vimbo::linuxdesktop
