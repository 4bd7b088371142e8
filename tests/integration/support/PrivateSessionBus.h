#pragma once

#include "integration/support/MainLoop.h"

#include <gio/gio.h>

#include <functional>
#include <stdexcept>

namespace vimbo::testing {

// A dbus-daemon of the test's own without service directories (nothing starts on demand, portals
// included), stopped when this goes away.
class PrivateSessionBus {
  public:
    PrivateSessionBus() : bus_(g_test_dbus_new(G_TEST_DBUS_NONE)) { g_test_dbus_up(bus_); }
    ~PrivateSessionBus() {
        g_test_dbus_down(bus_);
        g_object_unref(bus_);
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // A new client connection of its own; the caller unrefs it.
    GDBusConnection* connect() const {
        GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
            g_test_dbus_get_bus_address(bus_),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        if (!connection) throw std::runtime_error("cannot connect to the private bus");
        return connection;
    }

  private:
    GTestDBus* bus_;
};

// One object of the test's own, under a well-known name unless null (a watcher, a portal); `answer`
// gives each method's reply tuple, or null for none, and each property's value (with null parameters).
class TestBusObject {
  public:
    using Answer = std::function<GVariant*(const char* member, GVariant* parameters)>;

    TestBusObject(GDBusConnection* connection, const char* name, const char* path, const char* xml,
                  Answer answer)
        : connection_(connection), answer_(std::move(answer)),
          node_(g_dbus_node_info_new_for_xml(xml, nullptr)) {
        static const GDBusInterfaceVTable vtable{
            [](GDBusConnection*, const char*, const char*, const char*, const char* method,
               GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
                g_dbus_method_invocation_return_value(
                    invocation, static_cast<TestBusObject*>(data)->answer_(method, parameters));
            },
            [](GDBusConnection*, const char*, const char*, const char*, const char* property, GError**,
               gpointer data) { return static_cast<TestBusObject*>(data)->answer_(property, nullptr); },
            nullptr,
            {}};
        registration_ = g_dbus_connection_register_object(connection_, path, node_->interfaces[0], &vtable,
                                                          this, nullptr, nullptr);
        if (name)
            ownerId_ = g_bus_own_name_on_connection(connection_, name, G_BUS_NAME_OWNER_FLAGS_NONE, nullptr,
                                                    nullptr, nullptr, nullptr);
        runFor(0.05);
    }
    ~TestBusObject() {
        if (ownerId_) g_bus_unown_name(ownerId_);
        g_dbus_connection_unregister_object(connection_, registration_);
        g_dbus_node_info_unref(node_);
        runFor(0.05); // let the bus see the name go before anything else happens
    }
    TestBusObject(const TestBusObject&) = delete;
    TestBusObject& operator=(const TestBusObject&) = delete;

  private:
    GDBusConnection* connection_;
    Answer answer_;
    GDBusNodeInfo* node_;
    guint registration_ = 0;
    guint ownerId_ = 0;
};

} // namespace vimbo::testing
