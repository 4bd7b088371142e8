// Shapes of defaults.json that are valid enough to pass a parser, or not files at all: none may
// hang or exhaust the program, and each is kept aside like any corrupt file.
#include "linux/JsonFileDefaults.h"
#include "fakes/FakeAppPlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using vimbo::linuxdesktop::JsonFileDefaults;

class HostileDefaultsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // A new store over the planted file keeps it aside, starts empty and then saves normally.
    void expectKeptAside(const std::string& reason) {
        vimbo::fakes::RecordingSystemLog log;
        JsonFileDefaults store(file, log);
        EXPECT_THAT(log.lines, testing::ElementsAre(testing::HasSubstr("(" + reason + ")"))) << reason;
        EXPECT_EQ(store.readBool("glassMode"), std::nullopt);
        store.writeBool("glassMode", true);
        store.flush();
        EXPECT_EQ(JsonFileDefaults(file, log).readBool("glassMode"), true);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }

    const fs::path folder = fs::path(::testing::TempDir()) / "vimbo-hostile-defaults";
    const fs::path file = folder / "defaults.json";
};

TEST_F(HostileDefaultsFileTest, DeepOrHugeFilesFifosAndDevicesAreKeptAsideWithoutHanging) {
    // 100,000 nested arrays under an unknown key: 200 KB that once made the first write climb past 2.5 GB.
    std::ofstream(file) << "{\"x\":" << std::string(100'000, '[') << std::string(100'000, ']') << "}";
    expectKeptAside("nested deeper than 64 levels");
    // 64 levels are still settings (brackets inside strings do not count).
    std::ofstream(file) << "{\"k\":\"[[[[\",\"x\":" << std::string(63, '[') << std::string(63, ']') << "}";
    {
        vimbo::fakes::RecordingSystemLog log;
        JsonFileDefaults store(file, log);
        store.writeBool("glassMode", true);
        store.flush();
        EXPECT_THAT(log.lines, testing::IsEmpty());
    }
    fs::remove(file);
    std::ofstream(file) << "{\"x\":\"" << std::string(2 << 20, 'a') << "\"}";
    expectKeptAside("larger than 1048576 bytes");
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); // used to block start-up for ever
    expectKeptAside("not a regular file");
    fs::create_symlink("/dev/zero", file); // used to grow past 3 GB
    expectKeptAside("not a regular file");
}

TEST_F(HostileDefaultsFileTest, ALinkedFileIsWrittenWhereItLeadsAndStaysALink) {
    const fs::path dotfiles = folder / "dotfiles";
    fs::create_directories(dotfiles);
    std::ofstream(dotfiles / "vimbo.json") << "{\"keepAwake\": true}";
    fs::create_symlink("dotfiles/vimbo.json", file);
    vimbo::fakes::RecordingSystemLog log;
    JsonFileDefaults(file, log).writeBool("glassMode", true);
    EXPECT_TRUE(fs::is_symlink(file));
    JsonFileDefaults reread(dotfiles / "vimbo.json", log);
    EXPECT_EQ(reread.readBool("keepAwake"), true);
    EXPECT_EQ(reread.readBool("glassMode"), true);
    EXPECT_THAT(log.lines, testing::IsEmpty());
}

// A page can send a setting thousands of times a second; the writes reach the file in a few
// rounds, and the last value is the one kept.
TEST_F(HostileDefaultsFileTest, AFloodOfWritesEndsWithTheLastValueInTheFile) {
    vimbo::fakes::RecordingSystemLog log;
    JsonFileDefaults store(file, log);
    for (int n = 0; n <= 20'000; ++n)
        store.writeDouble("microphoneSensitivity", n);
    store.flush();
    EXPECT_EQ(JsonFileDefaults(file, log).readDouble("microphoneSensitivity"), 20'000);
}

} // namespace
