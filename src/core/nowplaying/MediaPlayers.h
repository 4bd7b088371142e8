#pragma once

#include <optional>
#include <string>

namespace vimbo::nowplaying {

// The music players the controller knows, in order of preference: Spotify, then the desktop's
// other music player.
enum class KnownPlayer { spotify, music };

enum class PlaybackState { playing, paused };

// What a player says it is doing.
struct PlayerReport {
    PlaybackState state = PlaybackState::paused;
    std::string title;
    std::string artist;
};

enum class PlayerVerb { next, previous, playPause };

// The desktop's music players. Called only on the "vimbo.music" queue; each call may block, but for
// a bounded time, so a player that hangs only delays the queue.
class MediaPlayers {
  public:
    virtual ~MediaPlayers() = default;

    // The running player that fills this entry of the table, as an address the other calls take;
    // none when no such player runs.
    virtual std::optional<std::string> running(KnownPlayer player) = 0;
    // None when the player does not answer, or is neither playing nor paused.
    virtual std::optional<PlayerReport> query(const std::string& player) = 0;
    // Fire and forget: the player's answer is not awaited.
    virtual void send(const std::string& player, PlayerVerb verb) = 0;
};

} // namespace vimbo::nowplaying
