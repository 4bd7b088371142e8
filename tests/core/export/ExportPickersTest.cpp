#include "core/export/ExportPickers.h"

#include "fakes/FakeExportPlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vimbo::export_ {
namespace {

using ::testing::ElementsAre;

class ExportPickersTest : public ::testing::Test {
  protected:
    fakes::FakeExportPlatform platform;
    std::vector<std::string> scripts;
    std::shared_ptr<ExportPickers> pickers = ExportPickers::create(
        platform.ports(), [this](const std::string& script) { scripts.push_back(script); });
};

TEST_F(ExportPickersTest, AudioFilesReachThePageInPanelOrderWithNamesThatCannotEndTheQuote) {
    platform.files = {{"/music/O'Brien\\Mix.mp3", "ab"}, {"/music/b.song.wav", "xyz"}};
    pickers->pickAudioFiles();
    ASSERT_EQ(platform.openPanels.size(), 1u);
    EXPECT_TRUE(platform.openPanels[0].multipleSelection);
    platform.openAnswer({"/music/b.song.wav", "/music/unreadable.mp3", "/music/O'Brien\\Mix.mp3"});
    EXPECT_THAT(scripts,
                ElementsAre("__exportAddFile('eHl6','b.song')", "__exportAddFile('YWI=','OBrienMix')"));
}

TEST_F(ExportPickersTest, TheBackgroundGoesWithItsNameAndMediaTypeOrPngWhenUnknown) {
    platform.files = {{"/pictures/sky.jpg", "a"}, {"/pictures/it's.xyz", "b"}};
    for (const char* path : {"/pictures/sky.jpg", "/pictures/it's.xyz", "/pictures/gone.png"}) {
        pickers->pickBackground();
        platform.openAnswer({path});
    }
    pickers->pickBackground();
    platform.openAnswer({}); // cancelled
    EXPECT_FALSE(platform.openPanels[0].multipleSelection);
    EXPECT_THAT(scripts, ElementsAre(R"(__exportSetBackground("YQ==","sky.jpg","image/jpeg"))",
                                     R"(__exportSetBackground("Yg==","it's.xyz","image/png"))"));
}

} // namespace
} // namespace vimbo::export_
