#include "linux/MprisMediaSessionTitles.h"

#include "linux/DBusCall.h"

#include <string_view>

namespace vimbo::linuxdesktop {

namespace {

constexpr std::string_view kPlayerPrefix = "org.mpris.MediaPlayer2.";

std::optional<std::string> trackTitle(GDBusConnection* bus, const char* player) {
    auto metadata = DBusCall::property(bus, player, "/org/mpris/MediaPlayer2",
                                       "org.mpris.MediaPlayer2.Player", "Metadata");
    if (!metadata || !g_variant_is_of_type(metadata.get(), G_VARIANT_TYPE_VARDICT)) return std::nullopt;
    const char* title = nullptr;
    if (!g_variant_lookup(metadata.get(), "xesam:title", "&s", &title) || !*title) return std::nullopt;
    return title;
}

} // namespace

MprisMediaSessionTitles::MprisMediaSessionTitles(GDBusConnection* sessionBus)
    : bus_(G_DBUS_CONNECTION(g_object_ref(sessionBus))) {}

std::optional<std::string> MprisMediaSessionTitles::mediaTitle(std::int32_t pid) {
    auto names = DBusCall::call(bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                "org.freedesktop.DBus", "ListNames", nullptr, "(as)");
    if (!names) return std::nullopt;
    GVariantIter* iter = nullptr;
    g_variant_get(names.get(), "(as)", &iter);
    const char* name = nullptr;
    std::optional<std::string> title;
    while (!title && g_variant_iter_next(iter, "&s", &name)) {
        if (std::string_view(name).starts_with(kPlayerPrefix) && DBusCall::processOf(bus_.get(), name) == pid)
            title = trackTitle(bus_.get(), name);
    }
    g_variant_iter_free(iter);
    return title;
}

} // namespace vimbo::linuxdesktop
