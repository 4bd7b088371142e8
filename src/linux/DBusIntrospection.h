#pragma once

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

// The one interface described by `xml` (a <node> holding one <interface>), parsed for the caller to
// keep: exported objects hand GDBus the same description for as long as they live.
GDBusInterfaceInfo* interfaceFromIntrospection(const char* xml);

} // namespace vimbo::linuxdesktop
