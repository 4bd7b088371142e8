#include "core/audio/AudioCaptureLifecycleGate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using vimbo::audio::AudioCaptureLifecycleGate;
using namespace std::chrono_literals;

namespace {

// A callback held inside the gate on another thread until released.
class HeldCallback {
  public:
    explicit HeldCallback(AudioCaptureLifecycleGate& gate)
        : thread_([this, &gate] {
              gate.withAcceptedCallback([this] {
                  entered_.set_value();
                  release_.get_future().wait();
                  done = true;
              });
          }) {
        entered_.get_future().wait();
    }
    void release() {
        release_.set_value();
        thread_.join();
    }
    std::atomic<bool> done{false};

  private:
    std::promise<void> entered_;
    std::promise<void> release_;
    std::thread thread_;
};

} // namespace

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
        HeldCallback held(gate);
        std::atomic<bool> closed{false};
        auto close = [&] {
            gate.closeAndDrain();
            EXPECT_TRUE(held.done.load());
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
        held.release();
        closer.join();
        EXPECT_TRUE(closed.load());
    }
}
