#include "core/app/DebugLog.h"
#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using vimbo::app::DebugLog;
using namespace std::chrono;

namespace {

// 2026-12-05 20:47:41.750 UTC.
system_clock::time_point fixedTime() {
    return sys_days{year{2026} / December / 5} + hours{20} + minutes{47} + seconds{41} + milliseconds{750};
}

class DebugLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vimbo-debuglog-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(directory); }
    std::string contents() const {
        std::ostringstream text;
        text << std::ifstream(directory / "vimbo-debug.log", std::ios::binary).rdbuf();
        return text.str();
    }

    std::filesystem::path directory;
};

} // namespace

TEST_F(DebugLogTest, AppendsDatedLinesOnlyWhenOnAndIgnoresAnUnwritableDirectory) {
    DebugLog(false, directory, fixedTime).log("hidden");
    DebugLog(true, directory / "missing", fixedTime).log("lost");
    EXPECT_TRUE(std::filesystem::is_empty(directory));
    DebugLog(true, directory, fixedTime).log("audio capture starting");
    DebugLog(true, directory, [] { return fixedTime() + seconds{60}; }).log("default output changed to ?");
    EXPECT_EQ(contents(), "2026-12-05 20:47:41 +0000 audio capture starting\n"
                          "2026-12-05 20:48:41 +0000 default output changed to ?\n");
    EXPECT_EQ(DebugLog::formatDate(system_clock::time_point{} - milliseconds{1}),
              "1969-12-31 23:59:59 +0000");
}

TEST_F(DebugLogTest, LinesFromSeveralThreadsStayWhole) {
    DebugLog log(true, directory, fixedTime);
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&log, t] {
            for (int i = 0; i < 50; ++i)
                log.log("thread " + std::to_string(t) + std::string(200, 'x'));
        });
    for (auto& writer : writers)
        writer.join();
    std::istringstream lines(contents());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count)
        EXPECT_EQ(line.size(), std::string("2026-12-05 20:47:41 +0000 thread 0").size() + 200) << line;
    EXPECT_EQ(count, 200);
}

TEST(CommandLineTest, MatchesOnlyWholeArgumentsAfterTheProgramName) {
    const char* args[] = {"--debug", "--debugger", "--debug=1", "--debug"};
    EXPECT_FALSE(vimbo::app::hasSwitch(3, args, "--debug"));
    EXPECT_TRUE(vimbo::app::hasSwitch(4, args, "--debug"));
    EXPECT_FALSE(vimbo::app::hasSwitch(0, nullptr, "--debug"));
}
