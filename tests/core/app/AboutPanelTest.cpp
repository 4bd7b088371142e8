#include "core/app/AboutPanelContent.h"
#include "core/app/AppDelegate.h"

#include "fakes/DelegateHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vimbo::app {
namespace {

TEST(AboutPanelContentTest, MissingVersionPartsShowAsEmDashes) {
    EXPECT_EQ(AboutPanelContent::make("0.1.0", "abc123").applicationVersion, "0.1.0 (Build abc123)");
    EXPECT_EQ(AboutPanelContent::make("", "").applicationVersion, "\u2014 (Build \u2014)");
}

// The About, acknowledgements and support items of the menus, through the delegate.
class AboutActionsTest : public ::testing::Test, protected fakes::DelegateHarness {
  protected:
    void choose(menus::MenuAction action) { delegate->performMenuAction(action, {}); }
};

TEST_F(AboutActionsTest, AboutShowsThePanelAndSupportThatCannotOpenAlerts) {
    launch({}, std::nullopt);
    choose(menus::MenuAction::showAboutPanel);
    ASSERT_EQ(desktop.aboutPanels.size(), 1u);
    EXPECT_EQ(desktop.aboutPanels[0].rfind("Vimbo|", 0), 0u);
    desktop.opens = false;
    choose(menus::MenuAction::openSupport);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].rfind("https://", 0), 0u);
    EXPECT_EQ(desktop.alerts, 1);
}

TEST_F(AboutActionsTest, AcknowledgementsOpenTheNoticesOrReportThemMissing) {
    auto dir = std::filesystem::temp_directory_path() / ("vimbo-about-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    launch({}, dir.string());
    choose(menus::MenuAction::showAcknowledgements);
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_EQ(systemLog.lines,
              std::vector<std::string>{"Vimbo: THIRD-PARTY-NOTICES.txt is missing from the installation."});
    EXPECT_EQ(desktop.alerts, 1);

    std::ofstream(dir / "THIRD-PARTY-NOTICES.txt") << "notices\n";
    choose(menus::MenuAction::showAcknowledgements);
    EXPECT_EQ(desktop.opened, std::vector<std::string>{(dir / "THIRD-PARTY-NOTICES.txt").string()});
    EXPECT_EQ(desktop.alerts, 1);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vimbo::app
