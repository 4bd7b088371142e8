#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vimbo::audio {

// Admits audio callbacks while open and lets teardown wait until none is inside. A callback may close
// the gate itself: closing waits only for callbacks on other threads, never for the caller's own.
class AudioCaptureLifecycleGate {
  public:
    AudioCaptureLifecycleGate();
    AudioCaptureLifecycleGate(const AudioCaptureLifecycleGate&) = delete;
    AudioCaptureLifecycleGate& operator=(const AudioCaptureLifecycleGate&) = delete;

    void open();
    // Stops admitting callbacks, then waits until those of other threads have left.
    void closeAndDrain();

    // Runs the body only while the gate is open; a closed gate drops the callback silently.
    template <class Body> void withAcceptedCallback(Body&& body) {
        if (!enter()) return;
        struct Leave {
            AudioCaptureLifecycleGate& gate;
            std::int64_t depth;
            ~Leave() { gate.leave(depth); }
        } leave{*this, pushDepth()};
        body();
    }

  private:
    bool enter();
    std::int64_t pushDepth();
    void leave(std::int64_t previousDepth);
    std::int64_t currentThreadDepth() const;

    std::mutex mutex_;
    std::condition_variable condition_;
    // Keys each thread's depth table; unique for the life of the process, so a later gate at the same
    // address never sees a stale depth.
    const std::uint64_t threadDepthKey_;
    bool isAccepting_ = false;
    std::int64_t inFlight_ = 0;
};

} // namespace vimbo::audio
