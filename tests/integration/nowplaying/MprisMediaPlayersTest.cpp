#include "linux/MprisMediaPlayers.h"

#include "core/nowplaying/MusicController.h"
#include "fakes/FakeAppPlatform.h"
#include "integration/support/PrivateSessionBus.h"
#include "linux/GLibMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::linuxdesktop {
namespace {

using ::testing::ElementsAre;
using testing::PrivateSessionBus;

constexpr const char* kPlayerXml = R"(<node><interface name="org.mpris.MediaPlayer2.Player">
  <method name="Next"/><method name="Previous"/><method name="PlayPause"/>
  <property name="PlaybackStatus" type="s" access="read"/>
  <property name="Metadata" type="a{sv}" access="read"/></interface></node>)";

// A player of the test's own on a connection of its own, as a separate process would be, with two
// artists. It is served on `context`: one that nobody runs never answers.
struct TestPlayer {
    TestPlayer(const PrivateSessionBus& bus, const char* name, const char* status, const char* title,
               GMainContext* context = nullptr)
        : status(status), connection(bus.connect()) {
        if (context) g_main_context_push_thread_default(context);
        player.emplace(connection.get(), name, "/org/mpris/MediaPlayer2", kPlayerXml,
                       [this, title](const char* member, GVariant* parameters) -> GVariant* {
                           if (parameters) {
                               calls.emplace_back(member);
                               return nullptr;
                           }
                           if (std::string_view(member) == "PlaybackStatus")
                               return g_variant_new_string(this->status);
                           return g_variant_new_parsed(
                               "{'xesam:title': <%s>, 'xesam:artist': <['First', 'Second']>}", title);
                       });
        if (context) g_main_context_pop_thread_default(context);
    }
    ~TestPlayer() {
        player.reset();
        g_dbus_connection_close_sync(connection.get(), nullptr, nullptr);
    }

    const char* status;
    std::vector<std::string> calls;
    GObjectPtr<GDBusConnection> connection;
    std::optional<testing::TestBusObject> player;
};

class MprisMediaPlayersTest : public ::testing::Test {
  protected:
    // One fetch through the real controller, with the main context running meanwhile.
    std::string fetch() {
        std::optional<std::string> result;
        music.fetch(nullptr, [&result](const std::string& text) { result = text; });
        testing::runUntil([&] { return result.has_value(); }, 10);
        return result.value_or("no answer");
    }

    PrivateSessionBus bus;
    GObjectPtr<GDBusConnection> client{bus.connect()};
    fakes::RecordingSystemLog systemLog;
    GLibMainQueue mainQueue;
    nowplaying::MusicController music{std::make_shared<MprisMediaPlayers>(client.get(), systemLog), nullptr,
                                      mainQueue};
};

// Spotify and browsers are left out of the other player, which is the first in name order; a player
// that hangs costs one timeout per fetch and one log line in all, and Spotify is shown instead.
TEST_F(MprisMediaPlayersTest, FindsTheOtherPlayerCommandsItAndSurvivesOneThatHangs) {
    std::unique_ptr<GMainContext, decltype(&g_main_context_unref)> nobodyRuns{g_main_context_new(),
                                                                              g_main_context_unref};
    TestPlayer spotify(bus, "org.mpris.MediaPlayer2.spotify", "Paused", "Spotify song");
    TestPlayer browser(bus, "org.mpris.MediaPlayer2.firefox.instance123", "Playing", "A video");
    TestPlayer stopped(bus, "org.mpris.MediaPlayer2.zzz", "Stopped", "Later in name order");
    TestPlayer vlc(bus, "org.mpris.MediaPlayer2.vlc", "Playing", "One || Two");
    EXPECT_EQ(fetch(), R"({"a":"First","c":true,"p":true,"t":"One || Two"})");
    music.command("next");
    music.command("prev");
    music.command("playpause");
    testing::runUntil([&] { return vlc.calls.size() == 3; });
    EXPECT_THAT(vlc.calls, ElementsAre("Next", "Previous", "PlayPause"));

    TestPlayer hung(bus, "org.mpris.MediaPlayer2.hung", "Playing", "Never told", nobodyRuns.get());
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fetch(), R"({"a":"First","c":true,"p":false,"t":"Spotify song"})");
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 1.8); // one timeout of 1 s, not one per call
    fetch();
    EXPECT_THAT(systemLog.lines,
                ElementsAre("Vimbo music: Get on org.mpris.MediaPlayer2.hung failed: Timeout was reached"));
}

} // namespace
} // namespace vimbo::linuxdesktop
