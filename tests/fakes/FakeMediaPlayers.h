#pragma once

#include "core/nowplaying/MediaPlayers.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// Players set up by the test; records who was asked and what was sent ("player verb").
class FakeMediaPlayers : public nowplaying::MediaPlayers {
  public:
    std::map<nowplaying::KnownPlayer, std::string> runningPlayers;
    std::map<std::string, nowplaying::PlayerReport> reports; // a running player without one is silent
    std::vector<std::string> queried;
    std::vector<std::string> sent;

    std::optional<std::string> running(nowplaying::KnownPlayer player) override {
        auto found = runningPlayers.find(player);
        return found == runningPlayers.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<nowplaying::PlayerReport> query(const std::string& player) override {
        queried.push_back(player);
        auto found = reports.find(player);
        return found == reports.end() ? std::nullopt : std::optional(found->second);
    }
    void send(const std::string& player, nowplaying::PlayerVerb verb) override {
        sent.push_back(player + " " + std::to_string(static_cast<int>(verb)));
    }
};

} // namespace vimbo::fakes
