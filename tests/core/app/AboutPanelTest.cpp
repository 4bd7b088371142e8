#include "core/app/AboutPanelContent.h"

#include <gtest/gtest.h>

#include <string>

namespace vimbo::app {
namespace {

TEST(AboutPanelContentTest, MissingVersionPartsShowAsEmDashes) {
    EXPECT_EQ(AboutPanelContent::make("0.1.0", "abc123").applicationVersion, "0.1.0 (Build abc123)");
    EXPECT_EQ(AboutPanelContent::make("", "").applicationVersion, "\u2014 (Build \u2014)");
}

} // namespace
} // namespace vimbo::app
