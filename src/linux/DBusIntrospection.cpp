#include "linux/DBusIntrospection.h"

#include "linux/GLibOwners.h"

namespace vimbo::linuxdesktop {

GDBusInterfaceInfo* interfaceFromIntrospection(const char* xml) {
    GErrorPtr error;
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(xml, GErrorOut(error));
    // The descriptions are the program's own constants: a broken one cannot be exported at all.
    if (!node) g_error("Vimbo could not read its own D-Bus interface description: %s", error->message);
    GDBusInterfaceInfo* interface = g_dbus_interface_info_ref(node->interfaces[0]);
    g_dbus_node_info_unref(node);
    return interface;
}

} // namespace vimbo::linuxdesktop
