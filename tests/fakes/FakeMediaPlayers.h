#pragma once

#include "core/nowplaying/MediaPlayers.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// Players set up by the test, each running under its entry's name, "spotify" or "music"; records the
// commands sent to them.
class FakeMediaPlayers : public nowplaying::MediaPlayers {
  public:
    using Command = std::pair<std::string, nowplaying::PlayerVerb>;

    std::map<std::string, std::optional<nowplaying::PlayerReport>> players; // one without a report is silent
    std::vector<Command> sent;

    std::optional<std::string> running(nowplaying::KnownPlayer entry) override {
        std::string name = entry == nowplaying::KnownPlayer::spotify ? "spotify" : "music";
        return players.contains(name) ? std::optional(name) : std::nullopt;
    }
    std::optional<nowplaying::PlayerReport> query(const std::string& player) override {
        return players.at(player);
    }
    void send(const std::string& player, nowplaying::PlayerVerb verb) override {
        sent.emplace_back(player, verb);
    }
};

} // namespace vimbo::fakes
