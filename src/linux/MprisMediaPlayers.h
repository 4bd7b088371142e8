#pragma once

#include "core/nowplaying/MediaPlayers.h"
#include "core/platform/SystemLog.h"
#include "linux/GLibOwners.h"

#include <gio/gio.h>

#include <optional>
#include <string>
#include <string_view>

namespace vimbo::linuxdesktop {

// The desktop's music players over MPRIS on the session bus: Spotify by its bus name, and as the
// other player the first MPRIS player (in bus-name order) that is neither Spotify nor a browser.
// Synchronous calls, each waiting at most 1 s, made on the "vimbo.music" queue, never on the main
// thread.
class MprisMediaPlayers : public nowplaying::MediaPlayers {
  public:
    // Without a bus no player runs.
    MprisMediaPlayers(GDBusConnection* bus, platform::SystemLog& systemLog);

    std::optional<std::string> running(nowplaying::KnownPlayer player) override;
    std::optional<nowplaying::PlayerReport> query(const std::string& player) override;
    void send(const std::string& player, nowplaying::PlayerVerb verb) override;

    // Browsers publish their tabs as MPRIS players too; those belong to the browser source.
    static bool isBrowserPlayer(std::string_view busName);

  private:
    std::optional<std::string> firstOtherPlayer();
    // The value of one property of the player's Player interface, or none (logged) when it does
    // not answer in time or answers with another type.
    GVariantPtr property(const std::string& player, const char* name, const GVariantType* type);
    GVariantPtr call(const char* destination, const char* path, const char* interface, const char* method,
                     GVariant* parameters, const GVariantType* replyType);
    // One line per kind of failure in a row: a player that hangs is asked every two seconds.
    void logOnce(const std::string& line);

    GObjectPtr<GDBusConnection> bus_;
    platform::SystemLog& systemLog_;
    std::string lastLogged_; // only touched on the music queue
};

} // namespace vimbo::linuxdesktop
