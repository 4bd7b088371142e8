#include "core/audio/AudioCaptureLifecycleGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using vimbo::audio::AudioCaptureLifecycleGate;
using namespace std::chrono_literals;

TEST(AudioCaptureLifecycleGateTest, ClosedGateDropsCallbacks) {
    AudioCaptureLifecycleGate gate;
    int runs = 0;
    gate.withAcceptedCallback([&] { ++runs; });
    gate.open();
    gate.withAcceptedCallback([&] { ++runs; });
    EXPECT_EQ(runs, 1);
    gate.closeAndDrain();
    std::thread([&] { gate.withAcceptedCallback([&] { ++runs; }); }).join();
    EXPECT_EQ(runs, 1);
}

TEST(AudioCaptureLifecycleGateTest, CloseFromInsideOwnCallbackReturns) {
    AudioCaptureLifecycleGate gate;
    gate.open();
    bool closed = false;
    gate.withAcceptedCallback([&] {
        gate.withAcceptedCallback([&] { // nested: this thread is two deep
            gate.closeAndDrain();
            closed = true;
        });
    });
    EXPECT_TRUE(closed);
    // The depth was unwound: a later close on this thread waits for nothing.
    gate.closeAndDrain();
}

TEST(AudioCaptureLifecycleGateTest, CloseWaitsForCallbacksOnOtherThreads) {
    // Closing from outside any callback, from inside one of the same gate, or inside another gate's.
    enum class Caller { outside, sameGate, otherGate };
    for (auto caller : {Caller::outside, Caller::sameGate, Caller::otherGate}) {
        SCOPED_TRACE(static_cast<int>(caller));
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
        std::atomic<bool> closed{false};
        auto close = [&] {
            gate.closeAndDrain();
            EXPECT_TRUE(done.load());
            closed = true;
        };
        std::thread closer([&] {
            if (caller == Caller::outside)
                close();
            else
                (caller == Caller::sameGate ? gate : other).withAcceptedCallback(close);
        });
        std::this_thread::sleep_for(50ms);
        EXPECT_FALSE(closed.load());
        release.set_value();
        held.join();
        closer.join();
        EXPECT_TRUE(closed.load());
    }
}
