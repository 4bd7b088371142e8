#pragma once

#include "core/util/SerialQueue.h"

#include <source_location>
#include <thread>

#ifndef VIMBO_THREAD_CHECKS
#define VIMBO_THREAD_CHECKS 0
#endif

namespace vimbo::util {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
// Clang before 15 cannot build libstdc++'s std::source_location; the fuzz targets are built with it.
struct SourceLocation {
    static constexpr SourceLocation current(const char* file = __builtin_FILE(),
                                            const char* function = __builtin_FUNCTION(),
                                            unsigned line = __builtin_LINE()) {
        return {file, function, line};
    }
    constexpr const char* file_name() const { return file; }
    constexpr const char* function_name() const { return function; }
    constexpr unsigned line() const { return lineNumber; }

    const char* file;
    const char* function;
    unsigned lineNumber;
};
#endif

// Debug and sanitizer builds check that a function runs where its comment says; release builds
// compile the checks away.
inline constexpr bool kThreadChecks = VIMBO_THREAD_CHECKS;

// Reports the wrong caller and aborts, so a test or a sanitizer run stops at the first one.
[[noreturn]] void threadCheckFailed(const char* expected, SourceLocation where);

// Remembers the thread that created it (the main thread, for the objects the main loop owns).
class ThreadChecker {
  public:
    ThreadChecker() = default;

    void check(SourceLocation where = SourceLocation::current()) const {
        if constexpr (kThreadChecks) {
            if (std::this_thread::get_id() != owner_) threadCheckFailed("the thread that created it", where);
        }
    }

  private:
    std::thread::id owner_ = std::this_thread::get_id();
};

// For work that must run on a serial queue's worker ("vimbo.audio-control", ...).
inline void checkOnQueue(const SerialQueue& queue, SourceLocation where = SourceLocation::current()) {
    if constexpr (kThreadChecks) {
        if (!queue.isCurrent()) threadCheckFailed(queue.label().c_str(), where);
    }
}

} // namespace vimbo::util
