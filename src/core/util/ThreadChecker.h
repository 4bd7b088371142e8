#pragma once

#include "core/util/SerialQueue.h"

#include <source_location>
#include <thread>

#ifndef VIMBO_THREAD_CHECKS
#define VIMBO_THREAD_CHECKS 0
#endif

namespace vimbo::util {

// Debug and sanitizer builds check that a function runs where its comment says; release builds
// compile the checks away.
inline constexpr bool kThreadChecks = VIMBO_THREAD_CHECKS;

// Reports the wrong caller and aborts, so a test or a sanitizer run stops at the first one.
[[noreturn]] void threadCheckFailed(const char* expected, std::source_location where);

// Remembers the thread that created it (the main thread, for the objects the main loop owns).
class ThreadChecker {
  public:
    ThreadChecker() = default;

    void check(std::source_location where = std::source_location::current()) const {
        if constexpr (kThreadChecks) {
            if (std::this_thread::get_id() != owner_) threadCheckFailed("the thread that created it", where);
        }
    }

  private:
    std::thread::id owner_ = std::this_thread::get_id();
};

// For work that must run on a serial queue's worker ("vimbo.audio-control", ...).
inline void checkOnQueue(const SerialQueue& queue,
                         std::source_location where = std::source_location::current()) {
    if constexpr (kThreadChecks) {
        if (!queue.isCurrent()) threadCheckFailed(queue.label().c_str(), where);
    }
}

} // namespace vimbo::util
