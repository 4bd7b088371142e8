#include "core/app/DebugLog.h"

#include "core/util/LogText.h"
#include "core/util/UtcDateTime.h"

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
    const auto utc = util::UtcDateTime::from(time);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d +0000", utc.year, utc.month, utc.day,
                  utc.hour, utc.minute, utc.second);
    return text;
}

void DebugLog::log(std::string_view message) {
    if (!debug_) return;
    std::string line = formatDate(clock_());
    line += ' ';
    line += util::printableLogText(message);
    line += '\n';
    std::lock_guard guard(mutex_);
    // Append mode creates the file when it is missing; one write per line keeps lines whole.
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    if (out) out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

} // namespace vimbo::app
