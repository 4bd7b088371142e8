#pragma once

#include "PrivateSessionBus.h"

#include <string>
#include <vector>

namespace vimbo::testing {

// The smallest StatusNotifierWatcher: owns the watcher name and records what registers.
class TestWatcher {
  public:
    explicit TestWatcher(GDBusConnection* connection) : connection_(connection) {
        static const char* xml = R"xml(<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  </interface>
</node>)xml";
        node_ = g_dbus_node_info_new_for_xml(xml, nullptr);
        static const GDBusInterfaceVTable vtable{handleMethod, handleGetProperty, nullptr, {}};
        registration_ = g_dbus_connection_register_object(
            connection_, "/StatusNotifierWatcher", node_->interfaces[0], &vtable, this, nullptr, nullptr);
        ownerId_ =
            g_bus_own_name_on_connection(connection_, "org.kde.StatusNotifierWatcher",
                                         G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr, nullptr);
    }
    ~TestWatcher() {
        g_bus_unown_name(ownerId_);
        g_dbus_connection_unregister_object(connection_, registration_);
        g_dbus_node_info_unref(node_);
        // Let the bus see the name go before anything else happens.
        runFor(0.05);
    }
    TestWatcher(const TestWatcher&) = delete;
    TestWatcher& operator=(const TestWatcher&) = delete;

    std::vector<std::string> services;
    std::vector<std::string> senders;

  private:
    static void handleMethod(GDBusConnection*, const char* sender, const char*, const char*, const char*,
                             GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<TestWatcher*>(data);
        const char* service = nullptr;
        g_variant_get(parameters, "(&s)", &service);
        self->services.emplace_back(service);
        self->senders.emplace_back(sender);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }
    static GVariant* handleGetProperty(GDBusConnection*, const char*, const char*, const char*, const char*,
                                       GError**, gpointer) {
        return g_variant_new_boolean(TRUE);
    }

    GDBusConnection* connection_;
    GDBusNodeInfo* node_ = nullptr;
    guint registration_ = 0;
    guint ownerId_ = 0;
    bool owned_ = false;
};

} // namespace vimbo::testing
