#include "core/nowplaying/MusicController.h"

#include "fakes/FakeMediaPlayers.h"
#include "fakes/ManualMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::nowplaying {
namespace {

using ::testing::ElementsAre;
using Command = fakes::FakeMediaPlayers::Command;

const std::string kSpotify = "spotify";
const std::string kMusic = "music";

// A controller over fake players and a fake browser source.
struct Rig {
    // One fetch, run to its completion on the main queue.
    std::string fetch() {
        std::string result = "not delivered";
        music.fetch([this](std::string_view line) { debugLines.emplace_back(line); },
                    [&result](const std::string& text) { result = text; });
        music.waitUntilSettled();
        EXPECT_EQ(result, "not delivered"); // delivered on the main queue, not on the music queue
        mainQueue.runPending();
        return result;
    }
    void command(const std::string& word) {
        music.command(word);
        music.waitUntilSettled();
    }

    std::shared_ptr<fakes::FakeMediaPlayers> players = std::make_shared<fakes::FakeMediaPlayers>();
    std::optional<std::string> browserTitle;
    std::vector<std::string> debugLines;
    fakes::ManualMainQueue mainQueue;
    MusicController music{players,
                          [this](const std::function<void(std::string_view)>* debug) {
                              if (debug) (*debug)("browser asked");
                              return browserTitle;
                          },
                          mainQueue};
};

// Each row: what Spotify and the other music player report (if running), the browser's title and what a
// fetch shows; then the command word a fresh controller gets and the player it goes to, if any.
TEST(MusicControllerTest, ChoosesTheSourceToShowAndThePlayerToCommand) {
    struct Row {
        const char* what;
        std::optional<PlayerReport> spotify, music;
        std::optional<std::string> browser;
        const char* shown;
        const char* word;
        std::string target;
        PlayerVerb verb;
    };
    const PlayerReport pausedSong{PlaybackState::paused, "Song", "Band"};
    const PlayerReport playingSong{PlaybackState::playing, "Song", "Band"};
    const PlayerReport pausedMusic{PlaybackState::paused, "Tune", "Them"};
    const PlayerReport playingMusic{PlaybackState::playing, "Tune", "Them"};
    constexpr auto none = std::nullopt;
    const std::vector<Row> rows{
        {"paused Spotify, playing second player", pausedSong, playingMusic, none,
         R"({"a":"Them","c":true,"p":true,"t":"Tune"})", "next", kMusic, PlayerVerb::next},
        {"both playing, and a browser title", playingSong, playingMusic, "Video",
         R"({"a":"Band","c":true,"p":true,"t":"Song"})", "stop", kSpotify, PlayerVerb::playPause},
        {"both paused", pausedSong, pausedMusic, none, R"({"a":"Band","c":true,"p":false,"t":"Song"})",
         "prev", kSpotify, PlayerVerb::previous},
        {"paused player and a browser title", none, pausedMusic, "Talk \"live\"",
         R"({"a":"","c":false,"p":true,"t":"Talk \"live\""})", "playpause", kMusic, PlayerVerb::playPause},
        {"paused player and an unwritable browser title", pausedSong, none, "bad \xff title",
         R"({"a":"Band","c":true,"p":false,"t":"Song"})", "next", kSpotify, PlayerVerb::next},
        {"title with a separator", none, PlayerReport{PlaybackState::playing, "A || B", "Band"}, none,
         R"({"a":"Band","c":true,"p":true,"t":"A || B"})", "prev", kMusic, PlayerVerb::previous},
        {"browser only", none, none, "Video", R"({"a":"","c":false,"p":true,"t":"Video"})", "next", "",
         PlayerVerb::next},
        {"nothing", none, none, none, "null", "next", "", PlayerVerb::next},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Rig rig;
        if (row.spotify) rig.players->players[kSpotify] = row.spotify;
        if (row.music) rig.players->players[kMusic] = row.music;
        rig.browserTitle = row.browser;
        rig.command(row.word);
        auto sent = row.target.empty() ? std::vector<Command>{} : std::vector{Command{row.target, row.verb}};
        EXPECT_EQ(rig.players->sent, sent);
        EXPECT_EQ(rig.fetch(), row.shown);
        // Asked even when a player plays, with the debug lines passed on.
        EXPECT_THAT(rig.debugLines, ElementsAre("browser asked"));
    }
}

TEST(MusicControllerTest, SilentOrUnwritablePlayersAreSkippedAndCommandsGoToThePlayerSeenLast) {
    Rig rig;
    rig.players->players[kSpotify] = std::nullopt; // running, but not answering
    rig.command("prev");                           // nobody to send it to
    rig.players->players[kMusic] = PlayerReport{PlaybackState::playing, "bad \xff title", "Band"};
    EXPECT_EQ(rig.fetch(), "null");
    rig.command("next"); // detected, and remembered
    rig.players->players[kSpotify] = PlayerReport{PlaybackState::playing, "Song", "Band"};
    rig.command("stop");
    rig.fetch(); // a fetch that shows a player makes it the one commanded
    rig.command("next");
    EXPECT_THAT(rig.players->sent,
                ElementsAre(Command{kMusic, PlayerVerb::next}, Command{kMusic, PlayerVerb::playPause},
                            Command{kSpotify, PlayerVerb::next}));
}

} // namespace
} // namespace vimbo::nowplaying
