#include "core/audio/AudioCaptureLifecycleGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using vimbo::audio::AudioCaptureLifecycleGate;
using namespace std::chrono_literals;

TEST(AudioCaptureLifecycleGateTest, ClosedGateDropsCallbacksAndCloseFromInsideOwnCallbackReturns) {
    AudioCaptureLifecycleGate gate;
    int runs = 0;
    gate.withAcceptedCallback([&] { ++runs; });
    gate.open();
    gate.withAcceptedCallback([&] {
        ++runs;
        gate.withAcceptedCallback([&] { gate.closeAndDrain(); }); // nested: this thread is two deep
    });
    EXPECT_EQ(runs, 1);
    // The depth was unwound: a later close on this thread waits for nothing.
    gate.closeAndDrain();
    std::thread([&] { gate.withAcceptedCallback([&] { ++runs; }); }).join();
    EXPECT_EQ(runs, 1);
}

TEST(AudioCaptureLifecycleGateTest, CloseWaitsForCallbacksOnOtherThreads) {
    // Closing from inside a callback of the same gate or of another one: either way the close waits
    // for the callback running on another thread, as it would from outside any callback.
    for (bool sameGate : {true, false}) {
        SCOPED_TRACE(sameGate);
        AudioCaptureLifecycleGate gate;
        AudioCaptureLifecycleGate other;
        gate.open();
        other.open();
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
            (sameGate ? gate : other).withAcceptedCallback([&] {
                gate.closeAndDrain();
                EXPECT_TRUE(done.load());
            });
        });
        std::this_thread::sleep_for(50ms); // time enough for a close that does not wait to return
        release.set_value();
        held.join();
        closer.join();
    }
}
