#include "core/app/DebugLog.h"
#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
        std::ifstream in(directory / "vimbo-debug.log", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path directory;
};

} // namespace

TEST_F(DebugLogTest, CreatesTheFileWithTheFirstLineThenAppends) {
    DebugLog log(true, directory, fixedTime);
    EXPECT_EQ(log.file(), directory / "vimbo-debug.log");
    log.log("audio capture starting input=microphone generation=3");
    EXPECT_EQ(contents(), "2026-12-05 20:47:41 +0000 audio capture starting input=microphone generation=3\n");

    DebugLog later(true, directory, [] { return fixedTime() + seconds{60}; });
    later.log("default output changed to ?");
    EXPECT_EQ(contents(), "2026-12-05 20:47:41 +0000 audio capture starting input=microphone generation=3\n"
                          "2026-12-05 20:48:41 +0000 default output changed to ?\n");
}

TEST_F(DebugLogTest, WritesNothingWhenDebugIsOff) {
    DebugLog log(false, directory, fixedTime);
    EXPECT_FALSE(log.enabled());
    log.log("hidden");
    EXPECT_FALSE(std::filesystem::exists(directory / "vimbo-debug.log"));
}

TEST_F(DebugLogTest, IgnoresAnUnwritableDirectory) {
    DebugLog log(true, directory / "missing", fixedTime);
    log.log("lost");
    EXPECT_FALSE(std::filesystem::exists(directory / "missing"));
}

TEST_F(DebugLogTest, LinesFromSeveralThreadsStayWhole) {
    DebugLog log(true, directory, fixedTime);
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&log, t] {
            for (int i = 0; i < 50; ++i)
                log.log("thread " + std::to_string(t) + std::string(200, 'x'));
        });
    }
    for (auto& writer : writers)
        writer.join();
    std::istringstream lines(contents());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_EQ(line.size(), std::string("2026-12-05 20:47:41 +0000 thread 0").size() + 200) << line;
    }
    EXPECT_EQ(count, 200);
}

TEST(DebugLogDateTest, FormatsUtcWithZeroOffsetIncludingDatesBefore1970) {
    EXPECT_EQ(DebugLog::formatDate(fixedTime()), "2026-12-05 20:47:41 +0000");
    EXPECT_EQ(DebugLog::formatDate(system_clock::time_point{} - milliseconds{1}),
              "1969-12-31 23:59:59 +0000");
}

TEST(DebugLogDirectoryTest, UsesTmpdirWhenSetElseTmp) {
    const char* saved = std::getenv("TMPDIR");
    const std::string previous = saved ? saved : "";
    setenv("TMPDIR", "/var/tmp/vimbo-test", 1);
    EXPECT_EQ(DebugLog::defaultDirectory(), "/var/tmp/vimbo-test");
    setenv("TMPDIR", "", 1);
    EXPECT_EQ(DebugLog::defaultDirectory(), "/tmp");
    unsetenv("TMPDIR");
    EXPECT_EQ(DebugLog::defaultDirectory(), "/tmp");
    if (saved) setenv("TMPDIR", previous.c_str(), 1);
}

TEST(CommandLineTest, MatchesOnlyWholeArgumentsAfterTheProgramName) {
    const char* withDebug[] = {"vimbo", "--export-ui-test", "--debug"};
    EXPECT_TRUE(vimbo::app::hasSwitch(3, withDebug, "--debug"));
    const char* lookalikes[] = {"--debug", "--debugger", "-debug", "--debug=1", "debug"};
    EXPECT_FALSE(vimbo::app::hasSwitch(5, lookalikes, "--debug"));
    EXPECT_FALSE(vimbo::app::hasSwitch(0, nullptr, "--debug"));
}
