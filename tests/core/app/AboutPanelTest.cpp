#include "core/app/AboutPanelContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vimbo::app {
namespace {

TEST(AboutPanelContentTest, MissingVersionPartsShowAsEmDashes) {
    EXPECT_EQ(AboutPanelContent::make("0.1.0", "abc123").applicationVersion, "0.1.0 (Build abc123)");
    EXPECT_EQ(AboutPanelContent::make("", "").applicationVersion, "\u2014 (Build \u2014)");
}

TEST(AboutPanelContentTest, DescriptionIsTwoLinesNamingThePlatformOnce) {
    const std::string description = AboutPanelContent::make("1", "1").description;
    EXPECT_EQ(std::count(description.begin(), description.end(), '\n'), 1);
    EXPECT_EQ(description.find("Linux"), description.rfind("Linux"));
    EXPECT_NE(description.find("Linux"), std::string::npos);
}

} // namespace
} // namespace vimbo::app
