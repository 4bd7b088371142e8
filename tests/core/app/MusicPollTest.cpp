#include "core/app/MusicPoll.h"

#include "fakes/DelegateHarness.h"
#include "fakes/FakeMediaPlayers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kTrack = R"({"a":"Band","c":true,"p":true,"t":"Song"})";

class MusicPollTest : public ::testing::Test {
  protected:
    MusicPollTest() { players->players["spotify"] = {{nowplaying::PlaybackState::playing, "Song", "Band"}}; }
    // Lets the fetches queued so far finish and delivers their results.
    void settle() {
        music.waitUntilSettled();
        mainQueue.runPending();
    }

    std::shared_ptr<fakes::FakeMediaPlayers> players = std::make_shared<fakes::FakeMediaPlayers>();
    fakes::ManualMainQueue mainQueue;
    fakes::ManualTimers timers;
    fakes::FakePageHost page;
    bool pageReady = true;
    std::vector<std::string> logLines;
    nowplaying::MusicController music{players,
                                      [](const std::function<void(std::string_view)>* debug) {
                                          if (debug) (*debug)("browser asked");
                                          return std::nullopt;
                                      },
                                      mainQueue};
    std::shared_ptr<MusicPoll> poll = std::make_shared<MusicPoll>(
        music, timers, mainQueue, [this] { return pageReady ? &page : nullptr; },
        [this](std::string_view line) { logLines.emplace_back(line); });
};

// Stopping is the page's call, checked with the delegate.
TEST_F(MusicPollTest, StartingTwiceKeepsOneTwoSecondPollThatPushesOnlyToAReadyPageWhilePollIsAlive) {
    pageReady = false;
    poll->start();
    poll->start();
    settle();
    EXPECT_THAT(page.scripts, IsEmpty());
    EXPECT_THAT(logLines, ElementsAre("browser asked"));
    ASSERT_EQ(timers.live.size(), 1u);
    EXPECT_DOUBLE_EQ(timers.live[0]->interval, 2.0);
    pageReady = true;
    timers.fireAll();
    settle();
    EXPECT_THAT(page.scripts, ElementsAre("__music(" + std::string(kTrack) + ")"));
    EXPECT_EQ(logLines.back(), "trackInfo " + std::string(kTrack));
    timers.fireAll();
    poll.reset();
    settle();
    EXPECT_EQ(page.scripts.size(), 1u);
}

TEST_F(MusicPollTest, CommandGoesToThePlayerAndOneFetchFollows0_4SecondsLater) {
    poll->command("next");
    music.waitUntilSettled();
    EXPECT_THAT(players->sent,
                ElementsAre(fakes::FakeMediaPlayers::Command{"spotify", nowplaying::PlayerVerb::next}));
    EXPECT_THAT(mainQueue.pendingDelays(), ElementsAre(0.4));
    mainQueue.runPending();
    settle();
    EXPECT_THAT(page.scripts, ElementsAre("__music(" + std::string(kTrack) + ")"));
    EXPECT_THAT(timers.live, IsEmpty()); // a command does not start polling
}

} // namespace
} // namespace vimbo::app
