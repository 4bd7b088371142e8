#include "core/export/ExportSession.h"
#include "core/util/Base64.h"
#include "fakes/FakeAppPlatform.h"
#include "fakes/FakeExportPlatform.h"
#include "linux/GioStorageInfo.h"
#include "linux/PosixFileStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vimbo::export_ {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string contents(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

class ExportFilesTest : public ::testing::Test {
  protected:
    // A volume of 256 KiB of its own, mounted in a mount namespace only this process sees. Done before
    // any thread starts, as the kernel requires; false where the test may not mount.
    static void SetUpTestSuite() {
        fs::create_directories(fullVolume());
        tinyVolume = unshare(CLONE_NEWNS) == 0 &&
                     mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                     mount("vimbo-export", fullVolume().c_str(), "tmpfs", 0, "size=256k") == 0;
    }
    static fs::path fullVolume() { return fs::path(::testing::TempDir()) / "vimbo-export-volume"; }

    // Asks for "clip.mp4" in `folder`, which holds an older one, and answers the save panel.
    void choose(const fs::path& folder, std::int64_t estimate) {
        std::ofstream(folder / "clip.mp4") << "old video";
        session->chooseDestination("clip.mp4", estimate);
        panels.saveAnswer((folder / "clip.mp4").string());
    }

    static inline bool tinyVolume = false;
    fakes::FakeExportPlatform panels;
    linuxdesktop::PosixFileStore files;
    linuxdesktop::GioStorageInfo storage;
    fakes::RecordingSystemLog log;
    std::vector<std::string> scripts;
    std::shared_ptr<ExportSession> session = ExportSession::create(
        {panels, files, storage}, log, [this](const std::string& script) { scripts.push_back(script); });
};

// A stale partial file that is a link must be replaced, never written through.
TEST_F(ExportFilesTest, ChunksInAnyOrderReachTheDestinationAtFinish) {
    const fs::path folder = fs::path(::testing::TempDir()) / "vimbo-export-folder";
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / "elsewhere") << "keep me";
    fs::create_symlink(folder / "elsewhere", folder / "clip.mp4.partial");
    choose(folder, 1000);
    session->writeChunk("4:" + util::base64Encoded("EFGH"));
    session->writeChunk("0:" + util::base64Encoded("ABCD"));
    session->finish();
    EXPECT_EQ(contents(folder / "clip.mp4"), "ABCDEFGH");
    EXPECT_EQ(contents(folder / "elsewhere"), "keep me");
    EXPECT_FALSE(fs::exists(folder / "clip.mp4.partial"));
    EXPECT_THAT(scripts, ElementsAre("__exportDestination(true,\"\")", "__exportSaved(true)"));
    fs::remove_all(folder);
}

TEST_F(ExportFilesTest, AFullVolumeIsRefusedUpFrontOrFailsTheWriteOnce) {
    if (!tinyVolume) GTEST_SKIP() << "no private tmpfs can be mounted here";
    choose(fullVolume(), 10'000'000);
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_THAT(scripts[0],
                StartsWith("__exportDestination(false,\"Not enough storage. This export needs about "
                           "10.0\u00a0MB, but "));
    EXPECT_THAT(scripts[0], HasSubstr("kB is available.\")"));
    scripts.clear();
    choose(fullVolume(), 0);
    const std::string chunk = util::base64Encoded(std::string(64 * 1024, 'v'));
    for (std::uint64_t offset = 0; offset < 512 * 1024; offset += 64 * 1024)
        session->writeChunk(std::to_string(offset) + ":" + chunk);
    session->finish();
    EXPECT_THAT(scripts,
                ElementsAre("__exportDestination(true,\"\")",
                            "__exportWriteFailed(\"Video writing failed. Check the available storage and "
                            "try again. (No space left on device)\")",
                            "__exportSaved(false)"));
    EXPECT_EQ(contents(fullVolume() / "clip.mp4"), "old video");
    EXPECT_FALSE(fs::exists(fullVolume() / "clip.mp4.partial"));
}

} // namespace
} // namespace vimbo::export_
