#include "core/menus/KeyboardShortcutCatalog.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace vimbo::menus;

TEST(KeyboardShortcutCatalogTest, SheetsFollowTheMenuTablesWithoutAGlassRow) {
    auto glyphs = KeyboardShortcutCatalog::sections(KeyLabelStyle::glyphs);
    auto gtk = KeyboardShortcutCatalog::sections(KeyLabelStyle::gtk);
    ASSERT_EQ(glyphs.size(), 5u);
    EXPECT_EQ(glyphs[1].rows.size(), 5u); // Display has no Glass row
    EXPECT_EQ(gtk[2].rows[0], (ShortcutRow{"Play / Pause", {"Space", "Ctrl+P"}}));
    EXPECT_EQ(gtk[3].rows[6], (ShortcutRow{"Close Dialog", {"Escape"}}));
}

TEST(KeyboardShortcutCatalogTest, JsonIsCompactUtf8AndParsesBackToTheSameRows) {
    for (auto style : {KeyLabelStyle::glyphs, KeyLabelStyle::gtk}) {
        auto text = KeyboardShortcutCatalog::json(style);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_EQ(text.find(": "), std::string::npos);
        EXPECT_EQ(text.find("\\u"), std::string::npos);
        std::vector<ShortcutSection> parsed;
        for (const auto& section : nlohmann::json::parse(text)) {
            parsed.push_back({section.at("title").get<std::string>(), {}});
            for (const auto& row : section.at("rows"))
                parsed.back().rows.push_back(
                    {row.at("title").get<std::string>(), row.at("keys").get<std::vector<std::string>>()});
        }
        EXPECT_EQ(parsed, KeyboardShortcutCatalog::sections(style));
    }
}
