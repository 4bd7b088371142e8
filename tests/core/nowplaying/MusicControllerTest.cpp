#include "core/nowplaying/MusicController.h"

#include "fakes/FakeMediaPlayers.h"
#include "fakes/ManualMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::nowplaying {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr PlaybackState kPlaying = PlaybackState::playing;
constexpr PlaybackState kPaused = PlaybackState::paused;
const std::string kSpotify = "spotify";
const std::string kOther = "other";

std::string sent(const std::string& player, PlayerVerb verb) {
    return player + " " + std::to_string(static_cast<int>(verb));
}

class MusicControllerTest : public ::testing::Test {
  protected:
    void play(KnownPlayer entry, const std::string& name, std::optional<PlayerReport> report) {
        players->runningPlayers[entry] = name;
        if (report) players->reports[name] = *report;
    }
    // One fetch, run to its completion on the main queue.
    std::string fetch() {
        std::vector<std::string> results;
        music.fetch([this](std::string_view line) { debugLines.emplace_back(line); },
                    [&results](const std::string& text) { results.push_back(text); });
        music.waitUntilSettled();
        EXPECT_TRUE(results.empty()); // delivered on the main queue, not on the music queue
        mainQueue.runPending();
        EXPECT_EQ(results.size(), 1u);
        return results.empty() ? "" : results[0];
    }
    void command(const std::string& word) {
        music.command(word);
        music.waitUntilSettled();
    }

    std::shared_ptr<fakes::FakeMediaPlayers> players = std::make_shared<fakes::FakeMediaPlayers>();
    std::optional<std::string> browserTitle;
    int browserAsked = 0;
    std::vector<std::string> debugLines;
    fakes::ManualMainQueue mainQueue;
    MusicController music{players,
                          [this](const std::function<void(std::string_view)>* debug) {
                              ++browserAsked;
                              if (debug) (*debug)("browser asked");
                              return browserTitle;
                          },
                          mainQueue};
};

TEST_F(MusicControllerTest, FirstPlayingPlayerWinsAndLaterPlayersAreNotAsked) {
    play(KnownPlayer::spotify, kSpotify, PlayerReport{kPlaying, "Song", "Band"});
    play(KnownPlayer::music, kOther, PlayerReport{kPlaying, "Other", "Them"});
    browserTitle = "Video";
    EXPECT_EQ(fetch(), R"({"a":"Band","c":true,"p":true,"t":"Song"})");
    EXPECT_THAT(players->queried, ElementsAre(kSpotify));
    EXPECT_EQ(browserAsked, 1);
    EXPECT_THAT(debugLines, ElementsAre("browser asked"));
}

TEST_F(MusicControllerTest, PausedSpotifyGivesWayToAPlayingSecondPlayerThatThenTakesCommands) {
    play(KnownPlayer::spotify, kSpotify, PlayerReport{kPaused, "Song", "Band"});
    play(KnownPlayer::music, kOther, PlayerReport{kPlaying, "Other", "Them"});
    EXPECT_EQ(fetch(), R"({"a":"Them","c":true,"p":true,"t":"Other"})");
    command("next");
    EXPECT_THAT(players->sent, ElementsAre(sent(kOther, PlayerVerb::next)));
}

TEST_F(MusicControllerTest, BrowserTitleWinsOverAPausedPlayerWhichStillTakesCommands) {
    play(KnownPlayer::spotify, kSpotify, PlayerReport{kPaused, "Song", "Band"});
    browserTitle = "Talk \"live\"";
    EXPECT_EQ(fetch(), R"({"a":"","c":false,"p":true,"t":"Talk \"live\""})");
    command("prev");
    EXPECT_THAT(players->sent, ElementsAre(sent(kSpotify, PlayerVerb::previous)));
}

TEST_F(MusicControllerTest, TitleWithSeparatorComesThroughWholeWithItsArtist) {
    play(KnownPlayer::music, kOther, PlayerReport{kPlaying, "A || B", "Band"});
    EXPECT_EQ(fetch(), R"({"a":"Band","c":true,"p":true,"t":"A || B"})");
}

TEST_F(MusicControllerTest, SilentOrUnwritablePlayersAreSkipped) {
    play(KnownPlayer::spotify, kSpotify, std::nullopt);
    play(KnownPlayer::music, kOther, PlayerReport{kPlaying, "bad \xff title", "Band"});
    EXPECT_EQ(fetch(), "null");
    browserTitle = "Video";
    EXPECT_EQ(fetch(), R"({"a":"","c":false,"p":true,"t":"Video"})");
}

TEST_F(MusicControllerTest, CommandWithoutAPlayerSeenGoesToTheDetectedOneAndIsRemembered) {
    play(KnownPlayer::music, kOther, PlayerReport{kPaused, "Other", "Them"});
    command("next");
    players->runningPlayers.clear(); // a remembered player is used without asking again
    command("stop");
    EXPECT_THAT(players->sent,
                ElementsAre(sent(kOther, PlayerVerb::next), sent(kOther, PlayerVerb::playPause)));
}

TEST_F(MusicControllerTest, CommandWithNoPlayerSendsNothingAndRemembersNothing) {
    players->runningPlayers[KnownPlayer::spotify] = kSpotify; // running, but not answering
    command("prev");
    play(KnownPlayer::music, kOther, PlayerReport{kPaused, "Other", "Them"});
    command("playpause");
    EXPECT_THAT(players->sent, ElementsAre(sent(kOther, PlayerVerb::playPause)));
}

} // namespace
} // namespace vimbo::nowplaying
