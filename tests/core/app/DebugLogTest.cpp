#include "core/app/DebugLog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using vimbo::app::DebugLog;
using namespace std::chrono;

namespace {

// 2026-12-05 20:47:41.750 UTC.
system_clock::time_point fixedTime() {
    return sys_days{year{2026} / December / 5} + hours{20} + minutes{47} + seconds{41} + milliseconds{750};
}

} // namespace

TEST(DebugLogTest, AppendsDatedLinesOnlyWhenOnAndIgnoresAnUnwritableDirectory) {
    const auto directory = std::filesystem::path(::testing::TempDir()) / "vimbo-debuglog";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    DebugLog(false, directory, fixedTime).log("hidden");
    DebugLog(true, directory / "missing", fixedTime).log("lost");
    EXPECT_TRUE(std::filesystem::is_empty(directory));
    DebugLog(true, directory, fixedTime).log("audio capture starting");
    DebugLog(true, directory, [] { return fixedTime() + seconds{60}; }).log("default output changed to ?");
    // Text from outside cannot forge a line of its own.
    DebugLog(true, directory, fixedTime).log("export failed: x\n2026-12-05 20:47:41 +0000 forged");
    std::ifstream file(directory / "vimbo-debug.log", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}),
              "2026-12-05 20:47:41 +0000 audio capture starting\n"
              "2026-12-05 20:48:41 +0000 default output changed to ?\n"
              "2026-12-05 20:47:41 +0000 export failed: x\\x0a2026-12-05 20:47:41 +0000 forged\n");
    std::filesystem::remove_all(directory);
}
