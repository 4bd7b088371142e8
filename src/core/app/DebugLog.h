#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace vimbo::app {

// The optional debug log: with debug on, each message becomes one line "<date> <message>" appended
// to "vimbo-debug.log" in the given directory. Failures are ignored: the log must never disturb the app.
class DebugLog {
  public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    DebugLog(bool debug, const std::filesystem::path& directory,
             Clock clock = std::chrono::system_clock::now);

    // $TMPDIR when set and not empty, else /tmp.
    static std::filesystem::path defaultDirectory();
    // "2026-12-05 20:47:41 +0000": the time in UTC, whole seconds.
    static std::string formatDate(std::chrono::system_clock::time_point time);

    // Any thread.
    void log(std::string_view message);

  private:
    bool debug_;
    std::filesystem::path file_;
    Clock clock_;
    std::mutex mutex_; // keeps lines from two threads from interleaving
};

} // namespace vimbo::app
