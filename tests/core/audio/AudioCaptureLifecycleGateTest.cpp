#include "core/audio/AudioCaptureLifecycleGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using vimbo::audio::AudioCaptureLifecycleGate;

// A stopped capture must not return while a callback of its server thread still runs, yet a close
// from inside a callback must not wait for itself; a closed gate drops later callbacks.
TEST(AudioCaptureLifecycleGateTest, CloseWaitsForOtherThreadsCallbacksButNotItsOwn) {
    AudioCaptureLifecycleGate gate;
    gate.open();
    std::promise<void> entered, release;
    std::atomic<bool> done{false};
    std::thread held([&] {
        gate.withAcceptedCallback([&] {
            entered.set_value();
            release.get_future().wait();
            done = true;
        });
    });
    entered.get_future().wait();
    std::thread closer([&] {
        gate.withAcceptedCallback([&] {
            gate.closeAndDrain();
            EXPECT_TRUE(done.load());
        });
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // time for a close that does not wait
    release.set_value();
    closer.join();
    held.join();
    int runs = 0;
    gate.withAcceptedCallback([&] { ++runs; });
    EXPECT_EQ(runs, 0);
}
