#include "core/audio/AudioCaptureLifecycleGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

using vimbo::audio::AudioCaptureLifecycleGate;
using namespace std::chrono_literals;

TEST(AudioCaptureLifecycleGateTest, ClosedGateDropsCallbacks) {
    AudioCaptureLifecycleGate gate;
    int runs = 0;
    gate.withAcceptedCallback([&] { ++runs; });
    EXPECT_EQ(runs, 0);

    gate.open();
    gate.withAcceptedCallback([&] { ++runs; });
    EXPECT_EQ(runs, 1);

    gate.closeAndDrain();
    std::thread late([&] { gate.withAcceptedCallback([&] { ++runs; }); });
    late.join();
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
    AudioCaptureLifecycleGate gate;
    gate.open();
    std::promise<void> entered;
    std::promise<void> release;
    std::atomic<bool> callbackDone{false};
    std::thread audio([&] {
        gate.withAcceptedCallback([&] {
            entered.set_value();
            release.get_future().wait();
            callbackDone = true;
        });
    });
    entered.get_future().wait();

    std::atomic<bool> closeReturned{false};
    std::thread closer([&] {
        gate.closeAndDrain();
        closeReturned = true;
        EXPECT_TRUE(callbackDone.load());
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(closeReturned.load());
    release.set_value();
    closer.join();
    audio.join();
    EXPECT_TRUE(closeReturned.load());
}

TEST(AudioCaptureLifecycleGateTest, CloseInsideCallbackStillWaitsForOtherThreads) {
    AudioCaptureLifecycleGate gate;
    gate.open();
    std::promise<void> otherEntered;
    std::promise<void> releaseOther;
    std::atomic<bool> otherDone{false};
    std::thread other([&] {
        gate.withAcceptedCallback([&] {
            otherEntered.set_value();
            releaseOther.get_future().wait();
            otherDone = true;
        });
    });
    otherEntered.get_future().wait();

    std::thread self([&] {
        gate.withAcceptedCallback([&] {
            gate.closeAndDrain();
            EXPECT_TRUE(otherDone.load());
        });
    });
    std::this_thread::sleep_for(50ms);
    releaseOther.set_value();
    self.join();
    other.join();
}

TEST(AudioCaptureLifecycleGateTest, DepthIsPerGate) {
    AudioCaptureLifecycleGate first;
    AudioCaptureLifecycleGate second;
    first.open();
    second.open();
    std::promise<void> entered;
    std::promise<void> release;
    std::thread other([&] {
        second.withAcceptedCallback([&] {
            entered.set_value();
            release.get_future().wait();
        });
    });
    entered.get_future().wait();
    // Being inside the first gate does not let this thread skip the second gate's callbacks.
    std::atomic<bool> closed{false};
    std::thread closer([&] {
        first.withAcceptedCallback([&] {
            second.closeAndDrain();
            closed = true;
        });
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(closed.load());
    release.set_value();
    closer.join();
    other.join();
    EXPECT_TRUE(closed.load());
}

TEST(AudioCaptureLifecycleGateTest, ManyThreadsNeverRunAfterCloseReturns) {
    AudioCaptureLifecycleGate gate;
    gate.open();
    std::atomic<bool> closedFlag{false};
    std::atomic<int> lateRuns{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            while (!stop) {
                gate.withAcceptedCallback([&] {
                    if (closedFlag) ++lateRuns;
                });
            }
        });
    }
    std::this_thread::sleep_for(20ms);
    gate.closeAndDrain();
    closedFlag = true;
    std::this_thread::sleep_for(20ms);
    stop = true;
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(lateRuns.load(), 0);
}
