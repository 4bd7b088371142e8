#include "fakes/DelegateHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ExportMessagesTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    ExportMessagesTest() { permission->answerAtOnce(true); }
    // Begins an export and answers the save panel with "/v/My Video.mp4".
    void beginExport() {
        send("export:begin");
        send("export:save:1000:My%20Video.mp4");
        ASSERT_EQ(exportPlatform.savePanels.back().proposedName, "My Video.mp4");
        exportPlatform.saveAnswer("/v/My Video.mp4");
        send("export:write:0:QUJD");
    }
    bool exportActivityHeld() {
        return std::ranges::any_of(keepAwake.active, [](auto& entry) {
            return entry.second == platform::ActivityKind::systemSleep;
        });
    }
};

// Export calls go out before the page has loaded too.
TEST_F(ExportMessagesTest, FinishSavesTheVideoAndEndsTheActivity) {
    launch();
    beginExport();
    EXPECT_TRUE(exportActivityHeld());
    send("export:finish");
    EXPECT_THAT(exportPlatform.files,
                ElementsAre(std::pair<const std::string, std::string>{"/v/My Video.mp4", "ABC"}));
    EXPECT_THAT(page.scripts, ElementsAre("__exportDestination(true,\"\")", "__exportSaved(true)"));
    EXPECT_FALSE(exportActivityHeld());
}

TEST_F(ExportMessagesTest, CancelAndQuitRemoveThePartialFileAndEndTheActivity) {
    launchReady();
    beginExport();
    send("export:cancel");
    EXPECT_THAT(exportPlatform.files, IsEmpty());
    EXPECT_FALSE(exportActivityHeld());
    beginExport();
    delegate->applicationWillTerminate();
    EXPECT_THAT(exportPlatform.files, IsEmpty());
    EXPECT_FALSE(exportActivityHeld());
}

} // namespace
} // namespace vimbo::app
