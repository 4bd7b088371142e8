#include "core/menus/KeyboardShortcutCatalog.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace vimbo::menus;

namespace {

std::vector<ShortcutSection> parsed(const std::string& text) {
    std::vector<ShortcutSection> sections;
    for (const auto& section : nlohmann::json::parse(text)) {
        EXPECT_EQ(section.size(), 2u);
        ShortcutSection decoded{section.at("title").get<std::string>(), {}};
        for (const auto& row : section.at("rows")) {
            EXPECT_EQ(row.size(), 2u);
            decoded.rows.push_back(
                {row.at("title").get<std::string>(), row.at("keys").get<std::vector<std::string>>()});
        }
        sections.push_back(std::move(decoded));
    }
    return sections;
}

} // namespace

TEST(KeyboardShortcutCatalogTest, HasFiveSectionsWithTheirRowCountsAndNoGlassRow) {
    for (auto style : {KeyLabelStyle::glyphs, KeyLabelStyle::gtk}) {
        auto sections = KeyboardShortcutCatalog::sections(style);
        ASSERT_EQ(sections.size(), 5u);
        const std::pair<const char*, std::size_t> expected[] = {
            {"Skins", 10}, {"Display", 5}, {"Playback", 3}, {"Window", 7}, {"Help", 2}};
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(sections[i].title, expected[i].first);
            EXPECT_EQ(sections[i].rows.size(), expected[i].second);
        }
        for (const auto& row : sections[1].rows)
            EXPECT_NE(row.title, "Glass");
    }
}

TEST(KeyboardShortcutCatalogTest, GlyphLabelsFollowTheMenuTables) {
    auto sections = KeyboardShortcutCatalog::sections(KeyLabelStyle::glyphs);
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
    EXPECT_EQ(sections, expected);
}

TEST(KeyboardShortcutCatalogTest, GtkLabelsAreTheOnesTheLinuxMenusShow) {
    auto sections = KeyboardShortcutCatalog::sections(KeyLabelStyle::gtk);
    EXPECT_EQ(sections[0].rows[4], (ShortcutRow{"Dust", {"Ctrl+5"}}));
    EXPECT_EQ(sections[0].rows[9], (ShortcutRow{"Previous Skin", {"Ctrl+["}}));
    EXPECT_EQ(sections[2].rows[0], (ShortcutRow{"Play / Pause", {"Space", "Ctrl+P"}}));
    EXPECT_EQ(sections[2].rows[1], (ShortcutRow{"Previous Track", {"Ctrl+Alt+Left"}}));
    EXPECT_EQ(sections[3].rows[1], (ShortcutRow{"Full Screen", {"Ctrl+F", "F"}}));
    EXPECT_EQ(sections[3].rows[2], (ShortcutRow{"Mini Player", {"Shift+Ctrl+M"}}));
    EXPECT_EQ(sections[3].rows[6], (ShortcutRow{"Close Dialog", {"Escape"}}));
    EXPECT_EQ(sections[4].rows[1], (ShortcutRow{"Vimbo Support", {"Shift+Ctrl+/"}}));
}

TEST(KeyboardShortcutCatalogTest, JsonIsCompactUtf8AndParsesBackToTheSameRows) {
    for (auto style : {KeyLabelStyle::glyphs, KeyLabelStyle::gtk}) {
        auto text = KeyboardShortcutCatalog::json(style);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_EQ(text.find(": "), std::string::npos);
        EXPECT_EQ(text.find("\\u"), std::string::npos);
        EXPECT_EQ(parsed(text), KeyboardShortcutCatalog::sections(style));
    }
    EXPECT_NE(KeyboardShortcutCatalog::json(KeyLabelStyle::glyphs).find("\"⌥⌘←\""), std::string::npos);
    std::size_t rows = 0;
    for (const auto& section : parsed(KeyboardShortcutCatalog::json(KeyLabelStyle::gtk)))
        rows += section.rows.size();
    EXPECT_EQ(rows, 27u);
}
