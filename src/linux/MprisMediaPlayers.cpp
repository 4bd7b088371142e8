#include "linux/MprisMediaPlayers.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vimbo::linuxdesktop {
namespace {

constexpr std::string_view kPrefix = "org.mpris.MediaPlayer2.";
constexpr const char* kSpotify = "org.mpris.MediaPlayer2.spotify";
constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
// A player that hangs must not hold up the music queue for long.
constexpr int kTimeoutMs = 1000;

// The first part of the name after the MPRIS prefix, as the browsers publish it
// ("firefox.instance_1_23", "chromium.instance4567", "plasma-browser-integration").
constexpr std::array<std::string_view, 15> kBrowserPlayers{
    "firefox",  "librewolf", "chromium", "chrome",      "google-chrome",
    "brave",    "msedge",    "edge",     "vivaldi",     "opera",
    "epiphany", "falkon",    "midori",   "qutebrowser", "plasma-browser-integration"};

const char* methodFor(nowplaying::PlayerVerb verb) {
    switch (verb) {
    case nowplaying::PlayerVerb::next:
        return "Next";
    case nowplaying::PlayerVerb::previous:
        return "Previous";
    case nowplaying::PlayerVerb::playPause:
        break;
    }
    return "PlayPause";
}

std::string metadataText(GVariant* metadata, const char* key) {
    GVariantPtr value{g_variant_lookup_value(metadata, key, G_VARIANT_TYPE_STRING)};
    return value ? g_variant_get_string(value.get(), nullptr) : "";
}

// The first of the artists, or empty.
std::string firstArtist(GVariant* metadata) {
    GVariantPtr artists{g_variant_lookup_value(metadata, "xesam:artist", G_VARIANT_TYPE_STRING_ARRAY)};
    if (!artists || g_variant_n_children(artists.get()) == 0) return "";
    const char* first = nullptr;
    g_variant_get_child(artists.get(), 0, "&s", &first);
    return first;
}

} // namespace

MprisMediaPlayers::MprisMediaPlayers(GDBusConnection* bus, platform::SystemLog& systemLog)
    : bus_(bus ? G_DBUS_CONNECTION(g_object_ref(bus)) : nullptr), systemLog_(systemLog) {}

bool MprisMediaPlayers::isBrowserPlayer(std::string_view busName) {
    if (!busName.starts_with(kPrefix)) return false;
    auto rest = busName.substr(kPrefix.size());
    auto first = rest.substr(0, rest.find('.'));
    return std::find(kBrowserPlayers.begin(), kBrowserPlayers.end(), first) != kBrowserPlayers.end();
}

std::optional<std::string> MprisMediaPlayers::running(nowplaying::KnownPlayer player) {
    if (player == nowplaying::KnownPlayer::music) return firstOtherPlayer();
    GVariantPtr reply = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "NameHasOwner", g_variant_new("(s)", kSpotify), G_VARIANT_TYPE("(b)"));
    gboolean owned = FALSE;
    if (reply) g_variant_get(reply.get(), "(b)", &owned);
    return owned ? std::optional<std::string>(kSpotify) : std::nullopt;
}

std::optional<std::string> MprisMediaPlayers::firstOtherPlayer() {
    GVariantPtr reply = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "ListNames", nullptr, G_VARIANT_TYPE("(as)"));
    if (!reply) return std::nullopt;
    GVariantPtr names{g_variant_get_child_value(reply.get(), 0)};
    std::optional<std::string> first;
    for (gsize i = 0; i < g_variant_n_children(names.get()); ++i) {
        const char* name = nullptr;
        g_variant_get_child(names.get(), i, "&s", &name);
        std::string_view view(name);
        if (!view.starts_with(kPrefix) || view == kSpotify || isBrowserPlayer(view)) continue;
        if (!first || view < *first) first = std::string(view);
    }
    return first;
}

std::optional<nowplaying::PlayerReport> MprisMediaPlayers::query(const std::string& player) {
    GVariantPtr status = property(player, "PlaybackStatus", G_VARIANT_TYPE_STRING);
    if (!status) return std::nullopt;
    std::string_view state = g_variant_get_string(status.get(), nullptr);
    // Stopped, or anything unknown, says nothing about a track.
    if (state != "Playing" && state != "Paused") return std::nullopt;
    GVariantPtr metadata = property(player, "Metadata", G_VARIANT_TYPE_VARDICT);
    if (!metadata) return std::nullopt;
    return nowplaying::PlayerReport{state == "Playing" ? nowplaying::PlaybackState::playing
                                                       : nowplaying::PlaybackState::paused,
                                    metadataText(metadata.get(), "xesam:title"), firstArtist(metadata.get())};
}

void MprisMediaPlayers::send(const std::string& player, nowplaying::PlayerVerb verb) {
    if (!bus_) return;
    // No callback: sent without waiting for (or asking for) an answer.
    g_dbus_connection_call(bus_.get(), player.c_str(), kObjectPath, kPlayerInterface, methodFor(verb),
                           nullptr, nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kTimeoutMs, nullptr, nullptr,
                           nullptr);
}

GVariantPtr MprisMediaPlayers::property(const std::string& player, const char* name,
                                        const GVariantType* type) {
    GVariantPtr reply = call(player.c_str(), kObjectPath, "org.freedesktop.DBus.Properties", "Get",
                             g_variant_new("(ss)", kPlayerInterface, name), G_VARIANT_TYPE("(v)"));
    if (!reply) return nullptr;
    GVariant* boxed = nullptr;
    g_variant_get(reply.get(), "(v)", &boxed);
    GVariantPtr value{boxed};
    if (g_variant_is_of_type(value.get(), type)) return value;
    logOnce("Vimbo music: " + player + " answered " + name + " with the type " +
            g_variant_get_type_string(value.get()));
    return nullptr;
}

GVariantPtr MprisMediaPlayers::call(const char* destination, const char* path, const char* interface,
                                    const char* method, GVariant* parameters, const GVariantType* replyType) {
    if (!bus_) {
        if (parameters) g_variant_unref(g_variant_ref_sink(parameters));
        return nullptr;
    }
    GErrorPtr error;
    GVariantPtr reply{g_dbus_connection_call_sync(bus_.get(), destination, path, interface, method,
                                                  parameters, replyType, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                                                  kTimeoutMs, nullptr, GErrorOut(error))};
    if (!reply)
        logOnce(std::string("Vimbo music: ") + method + " on " + destination + " failed: " + error->message);
    return reply;
}

void MprisMediaPlayers::logOnce(const std::string& line) {
    if (line == lastLogged_) return;
    lastLogged_ = line;
    systemLog_.write(line);
}

} // namespace vimbo::linuxdesktop
