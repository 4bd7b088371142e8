#include "core/app/DebugLog.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace vimbo::app {

namespace {
constexpr const char* fileName = "vimbo-debug.log";
}

DebugLog::DebugLog(bool debug, const std::filesystem::path& directory, Clock clock)
    : debug_(debug), file_(directory / fileName), clock_(std::move(clock)) {}

std::filesystem::path DebugLog::defaultDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && *tmp != '\0') return tmp;
    return "/tmp";
}

std::string DebugLog::formatDate(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(time);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss clock{seconds - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d +0000", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

void DebugLog::log(std::string_view message) {
    if (!debug_) return;
    std::string line = formatDate(clock_());
    line += ' ';
    line += message;
    line += '\n';
    std::lock_guard guard(mutex_);
    // Append mode creates the file when it is missing; one write per line keeps lines whole.
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    if (out) out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

} // namespace vimbo::app
