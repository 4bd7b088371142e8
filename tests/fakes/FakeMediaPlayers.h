#pragma once

#include "core/nowplaying/MediaPlayers.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// Players set up by the test; records the commands sent to them.
class FakeMediaPlayers : public nowplaying::MediaPlayers {
  public:
    using Command = std::pair<std::string, nowplaying::PlayerVerb>;

    std::map<nowplaying::KnownPlayer, std::string> runningPlayers;
    std::map<std::string, nowplaying::PlayerReport> reports; // a running player without one is silent
    std::vector<Command> sent;

    std::optional<std::string> running(nowplaying::KnownPlayer player) override {
        auto found = runningPlayers.find(player);
        return found == runningPlayers.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<nowplaying::PlayerReport> query(const std::string& player) override {
        auto found = reports.find(player);
        return found == reports.end() ? std::nullopt : std::optional(found->second);
    }
    void send(const std::string& player, nowplaying::PlayerVerb verb) override {
        sent.emplace_back(player, verb);
    }
};

} // namespace vimbo::fakes
