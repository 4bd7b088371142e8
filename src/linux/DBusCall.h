#pragma once

#include "linux/GLibOwners.h"

#include <gio/gio.h>

#include <cstdint>
#include <optional>

namespace vimbo::linuxdesktop {

// Blocking calls to other programs over D-Bus, for the music queue. A peer that hangs costs at most
// one second; any failure, a reply of another type or no connection gives nothing.
class DBusCall {
  public:
    static constexpr int kTimeoutMs = 1000;

    static GVariantPtr call(GDBusConnection* connection, const char* destination, const char* path,
                            const char* interface, const char* method, GVariant* parameters,
                            const char* replyType);
    // A peer's property, unwrapped from its variant.
    static GVariantPtr property(GDBusConnection* connection, const char* destination, const char* path,
                                const char* interface, const char* name);
    // The process that owns a bus name (unique or well-known).
    static std::optional<std::int32_t> processOf(GDBusConnection* connection, const char* busName);
};

} // namespace vimbo::linuxdesktop
