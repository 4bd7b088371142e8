#include "core/export/ExportSession.h"

#include "core/util/Base64.h"
#include "fakes/FakeAppPlatform.h"
#include "fakes/FakeExportPlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::export_ {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kClip = "/videos/clip.mp4";
const std::string kPartial = "/videos/clip.mp4.partial";

class ExportSessionTest : public ::testing::Test {
  protected:
    // Asks for a destination and answers the panel with `path` (none cancels it).
    void choose(std::int64_t estimate, std::optional<std::string> path = kClip) {
        session->chooseDestination("clip.mp4", estimate);
        platform.saveAnswer(std::move(path));
    }
    std::string failure(const std::string& cause) {
        return "__exportWriteFailed(\"Video writing failed. Check the available storage and try again. (" +
               cause + ")\")";
    }

    fakes::FakeExportPlatform platform;
    fakes::RecordingSystemLog systemLog;
    std::vector<std::string> scripts;
    std::shared_ptr<ExportSession> session = ExportSession::create(
        platform.ports(), systemLog, [this](const std::string& script) { scripts.push_back(script); });
};

// Chunks carry their offsets: any order, overwriting, and longer than one decoding block. The old
// file stays as it was until finish; a stale partial file is emptied first.
TEST_F(ExportSessionTest, ChunksLandAtTheirOffsetsAndOnlyFinishReplacesTheDestination) {
    platform.files = {{kClip, "old video"}, {kPartial, "stale bytes from an earlier run"}};
    platform.freeSpaceOf.clear(); // an estimate of 0 skips the check, which would fail
    choose(0);
    EXPECT_EQ(platform.files[kPartial], "");
    std::string big(100'000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 % 251);
    session->writeChunk("3:" + util::base64Encoded(big));
    session->writeChunk("0:QUJD");
    session->writeChunk("1:WA==");
    EXPECT_EQ(platform.files[kClip], "old video");
    session->finish();
    EXPECT_EQ(platform.files[kClip], "AXC" + big);
    EXPECT_FALSE(platform.files.contains(kPartial));
    // After finish there is no destination and no partial file: the next chunk is ignored, and
    // quitting leaves alone what has since appeared at the partial file's path.
    session->writeChunk("0:QUJD");
    platform.files[kPartial] = "another export";
    session->reset(true);
    EXPECT_THAT(scripts, ElementsAre("__exportDestination(true,\"\")", "__exportSaved(true)"));
    EXPECT_EQ(platform.files[kPartial], "another export");
}

TEST_F(ExportSessionTest, ChunksWithoutADestinationAreIgnoredSilently) {
    session->writeChunk("0:QUJD");
    choose(0, std::nullopt); // cancelled panel
    session->writeChunk("0:QUJD");
    choose(0);
    session->reset(true); // the page cancelled
    session->writeChunk("0:QUJD");
    choose(0);
    choose(0, std::nullopt); // a new save message discards the unfinished export
    session->writeChunk("0:QUJD");
    EXPECT_THAT(platform.files, IsEmpty());
    EXPECT_THAT(scripts, ElementsAre("__exportDestination(false,\"\")", "__exportDestination(true,\"\")",
                                     "__exportDestination(true,\"\")", "__exportDestination(false,\"\")"));
}

TEST_F(ExportSessionTest, TheLaterAnswerOfTwoOpenSavePanelsKeepsNoOtherPartialFile) {
    session->chooseDestination("a.mp4", 0);
    auto first = platform.saveAnswer;
    session->chooseDestination("clip.mp4", 0);
    first("/videos/a.mp4");
    platform.saveAnswer(kClip);
    EXPECT_THAT(platform.files, ElementsAre(std::pair{kPartial, ""}));
}

// Whatever the first failure, it is the only one reported; finish then discards the partial file and
// leaves the existing video alone.
TEST_F(ExportSessionTest, OnlyTheFirstFailureIsReportedAndFinishDiscardsThePartialFile) {
    const std::string undecodable = failure("The video data could not be decoded.");
    const std::pair<std::string, std::string> cases[] = {
        {"QUJD", undecodable},
        {":QUJD", undecodable},
        {"-1:QUJD", undecodable},
        {"1x:QUJD", undecodable},
        {"18446744073709551616:QUJD", undecodable},
        {"0:QUJ", undecodable},
        {"0:Q=JD", undecodable},
        {"0:" + std::string(ExportSession::kMaxChunkText, 'A'), undecodable},
        {"0:QUJD", failure("No space left on device")},
    };
    for (const auto& [payload, report] : cases) {
        platform.files = {{kClip, "old video"}};
        platform.writeError =
            payload == "0:QUJD" ? std::optional<std::string>("No space left on device") : std::nullopt;
        scripts.clear();
        choose(0);
        session->writeChunk(payload);
        session->writeChunk("0:!!!!");
        platform.writeError.reset();
        session->writeChunk("0:QUJD");
        session->finish();
        EXPECT_THAT(scripts, ElementsAre("__exportDestination(true,\"\")", report, "__exportSaved(false)"))
            << payload.substr(0, 30);
        EXPECT_THAT(platform.files, ElementsAre(std::pair{kClip, "old video"}));
    }
    EXPECT_THAT(systemLog.lines,
                ElementsAre("Vimbo export refused a chunk of 16777218 characters; the most is "
                            "16777216"));
}

// The estimate is checked against the destination folder's volume (the fake knows only /videos);
// equal is room enough, and a volume that does not tell is taken to have room.
TEST_F(ExportSessionTest, TheEstimateIsCheckedAgainstTheVolumeBeforeAnythingIsCreated) {
    const std::string prepareFailed =
        "__exportDestination(false,\"Couldn’t prepare the selected save location.\")";
    const std::tuple<std::int64_t, std::optional<platform::FreeSpace>, std::string> cases[] = {
        {1000, platform::FreeSpace{true, 999},
         "__exportDestination(false,\"Not enough storage. This export needs about 1000 B, but 999 B is "
         "available.\")"},
        {1000, platform::FreeSpace{true, 1000}, "__exportDestination(true,\"\")"},
        {1000, platform::FreeSpace{false, 0}, "__exportDestination(true,\"\")"},
        {-5, platform::FreeSpace{true, 0}, "__exportDestination(true,\"\")"},
        {1, std::nullopt, prepareFailed},
    };
    for (const auto& [estimate, space, report] : cases) {
        platform.files.clear();
        platform.freeSpaceOf.clear();
        if (space) platform.freeSpaceOf["/videos"] = *space;
        scripts.clear();
        choose(estimate);
        EXPECT_THAT(scripts, ElementsAre(report)) << estimate;
        EXPECT_EQ(platform.files.contains(kPartial), report.starts_with("__exportDestination(true"))
            << estimate;
    }
}

} // namespace
} // namespace vimbo::export_
