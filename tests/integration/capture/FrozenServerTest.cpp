// A sound server that is stopped (SIGSTOP) accepts connections and never answers. Every wait for it
// ends after the connection's timeouts, so no thread of the program waits for it for long.
#include "PulseTestServer.h"
#include "core/audio/AudioAnalyzer.h"
#include "fakes/ManualMainQueue.h"
#include "linux/PulseDefaultDevices.h"
#include "linux/PulseSystemAudioCapture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using vimbo::testing::monotonicNow;
using vimbo::testing::PulseTestServer;
using vimbo::testing::SoundServer;

TEST(FrozenServerTest, AStoppedServerCostsEachCallerOnlyTheTimeoutsAndIsFoundAgainWhenItGoesOn) {
    PulseTestServer server(SoundServer::pulseAudio);
    server.run("sh -c 'kill -STOP $(cat $PULSE_RUNTIME_PATH/pid)'");
    auto analyzer = std::make_shared<vimbo::audio::AudioAnalyzer>();
    vimbo::fakes::ManualMainQueue mainQueue;

    // Without bounds each of these waited about thirty seconds, or for ever; ten is far above the bounds.
    const double started = monotonicNow();
    auto devices = vimbo::linuxdesktop::PulseDefaultDevices::create(mainQueue);
    EXPECT_EQ(devices->currentDefaultOutputUID(), std::nullopt);
    vimbo::linuxdesktop::PulseSystemAudioCapture capture;
    EXPECT_NE(capture.start(analyzer), std::nullopt);
    EXPECT_LT(monotonicNow() - started, 10);

    // The devices keep trying on their own thread and find the server once it runs again.
    server.run("sh -c 'kill -CONT $(cat $PULSE_RUNTIME_PATH/pid)'");
    vimbo::testing::eventually(
        [&] {
            mainQueue.runPending();
            return devices->currentDefaultOutputUID().has_value();
        },
        15);
    EXPECT_EQ(devices->currentDefaultOutputUID(), "vimbo_out");
    EXPECT_EQ(capture.start(analyzer), std::nullopt);
    capture.stop();
}

} // namespace
