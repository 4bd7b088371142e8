#include "core/menus/KeyboardShortcutCatalog.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace vimbo::menus;

TEST(KeyboardShortcutCatalogTest, GlyphSheetFollowsTheMenuTablesWithoutAGlassRow) {
    const std::vector<ShortcutSection> expected = {
        {"Skins",
         {{"Glossy", {"⌘1"}},
          {"Contour", {"⌘2"}},
          {"Bubble", {"⌘3"}},
          {"Mesh", {"⌘4"}},
          {"Dust", {"⌘5"}},
          {"Dandelion", {"⌘6"}},
          {"Parasite", {"⌘7"}},
          {"Wake", {"⌘8"}},
          {"Next Skin", {"⌘]"}},
          {"Previous Skin", {"⌘["}}}},
        {"Display",
         {{"Dark Mode", {"⌘D"}},
          {"Glow", {"⌘G"}},
          {"Keep Display Awake", {"⌘K"}},
          {"Track Info", {"⌘I"}},
          {"Menu Bar Icon", {"⌘B"}}}},
        {"Playback",
         {{"Play / Pause", {"Space", "⌘P"}}, {"Previous Track", {"⌥⌘←"}}, {"Next Track", {"⌥⌘→"}}}},
        {"Window",
         {{"Settings", {"⌘,"}},
          {"Full Screen", {"⌘F", "F"}},
          {"Mini Player", {"⇧⌘M"}},
          {"Always on Top", {"⇧⌘T"}},
          {"Minimize", {"⌘M"}},
          {"Close Window", {"⌘W"}},
          {"Close Dialog", {"⎋"}}}},
        {"Help", {{"Keyboard Shortcuts", {"⌘/"}}, {"Vimbo Support", {"⇧⌘/"}}}},
    };
    EXPECT_EQ(KeyboardShortcutCatalog::sections(KeyLabelStyle::glyphs), expected);
}

TEST(KeyboardShortcutCatalogTest, GtkSheetHasTheSameRowsWithLinuxLabels) {
    auto sections = KeyboardShortcutCatalog::sections(KeyLabelStyle::gtk);
    const std::pair<const char*, std::size_t> shape[] = {
        {"Skins", 10}, {"Display", 5}, {"Playback", 3}, {"Window", 7}, {"Help", 2}};
    ASSERT_EQ(sections.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(sections[i].title, shape[i].first);
        EXPECT_EQ(sections[i].rows.size(), shape[i].second);
    }
    EXPECT_EQ(sections[0].rows[9], (ShortcutRow{"Previous Skin", {"Ctrl+["}}));
    EXPECT_EQ(sections[2].rows[0], (ShortcutRow{"Play / Pause", {"Space", "Ctrl+P"}}));
    EXPECT_EQ(sections[2].rows[1], (ShortcutRow{"Previous Track", {"Ctrl+Alt+Left"}}));
    EXPECT_EQ(sections[3].rows[1], (ShortcutRow{"Full Screen", {"Ctrl+F", "F"}}));
    EXPECT_EQ(sections[3].rows[6], (ShortcutRow{"Close Dialog", {"Escape"}}));
    EXPECT_EQ(sections[4].rows[1], (ShortcutRow{"Vimbo Support", {"Shift+Ctrl+/"}}));
}

TEST(KeyboardShortcutCatalogTest, JsonIsCompactUtf8AndParsesBackToTheSameRows) {
    for (auto style : {KeyLabelStyle::glyphs, KeyLabelStyle::gtk}) {
        auto text = KeyboardShortcutCatalog::json(style);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_EQ(text.find(": "), std::string::npos);
        EXPECT_EQ(text.find("\\u"), std::string::npos);
        std::vector<ShortcutSection> parsed;
        for (const auto& section : nlohmann::json::parse(text)) {
            EXPECT_EQ(section.size(), 2u);
            parsed.push_back({section.at("title").get<std::string>(), {}});
            for (const auto& row : section.at("rows")) {
                EXPECT_EQ(row.size(), 2u);
                parsed.back().rows.push_back(
                    {row.at("title").get<std::string>(), row.at("keys").get<std::vector<std::string>>()});
            }
        }
        EXPECT_EQ(parsed, KeyboardShortcutCatalog::sections(style));
    }
}
