#pragma once

#include "PrivateSessionBus.h"

#include <cstdint>

namespace vimbo::testing {

// The settings portal answering only the desktop's color-scheme, which the test may change.
class TestPortal {
  public:
    TestPortal(GDBusConnection* connection, std::uint32_t colorScheme)
        : connection_(connection), colorScheme_(colorScheme) {
        static const char* xml = R"xml(<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="Read">
      <arg name="namespace" type="s" direction="in"/><arg name="key" type="s" direction="in"/>
      <arg name="value" type="v" direction="out"/>
    </method>
    <signal name="SettingChanged"><arg type="s"/><arg type="s"/><arg type="v"/></signal>
  </interface>
</node>)xml";
        node_ = g_dbus_node_info_new_for_xml(xml, nullptr);
        static const GDBusInterfaceVTable vtable{handleMethod, nullptr, nullptr, {}};
        registration_ =
            g_dbus_connection_register_object(connection_, "/org/freedesktop/portal/desktop",
                                              node_->interfaces[0], &vtable, this, nullptr, nullptr);
        ownerId_ =
            g_bus_own_name_on_connection(connection_, "org.freedesktop.portal.Desktop",
                                         G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr, nullptr);
        runFor(0.05);
    }
    ~TestPortal() {
        g_bus_unown_name(ownerId_);
        g_dbus_connection_unregister_object(connection_, registration_);
        g_dbus_node_info_unref(node_);
    }
    TestPortal(const TestPortal&) = delete;
    TestPortal& operator=(const TestPortal&) = delete;

    void change(std::uint32_t colorScheme) {
        colorScheme_ = colorScheme;
        g_dbus_connection_emit_signal(connection_, nullptr, "/org/freedesktop/portal/desktop",
                                      "org.freedesktop.portal.Settings", "SettingChanged",
                                      g_variant_new("(ssv)", "org.freedesktop.appearance", "color-scheme",
                                                    g_variant_new_uint32(colorScheme)),
                                      nullptr);
    }

  private:
    static void handleMethod(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant*,
                             GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<TestPortal*>(data);
        // Read answers with the value wrapped in one more variant.
        g_dbus_method_invocation_return_value(
            invocation,
            g_variant_new("(v)", g_variant_new_variant(g_variant_new_uint32(self->colorScheme_))));
    }

    GDBusConnection* connection_;
    std::uint32_t colorScheme_;
    GDBusNodeInfo* node_ = nullptr;
    guint registration_ = 0;
    guint ownerId_ = 0;
};

} // namespace vimbo::testing
