#include "core/menus/ShortcutKey.h"
#include "core/menus/MenuLayout.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

TEST(ShortcutKeyTest, DisplayStringsAndAcceleratorsInBothStyles) {
    using namespace modifier;
    struct Case {
        ShortcutKey key;
        const char* glyphs;
        const char* gtkLabel;
        const char* accelerator;
    };
    const Case cases[] = {
        {{"1", command}, "⌘1", "Ctrl+1", "<Primary>1"},
        {{"m", shift | command}, "⇧⌘M", "Shift+Ctrl+M", "<Shift><Primary>m"},
        {{kLeftArrowKey, command | option}, "⌥⌘←", "Ctrl+Alt+Left", "<Primary><Alt>Left"},
        {{kRightArrowKey, option | command}, "⌥⌘→", "Ctrl+Alt+Right", "<Primary><Alt>Right"},
        {{"/", shift | command}, "⇧⌘/", "Shift+Ctrl+/", "<Shift><Primary>slash"},
        {{",", command}, "⌘,", "Ctrl+,", "<Primary>comma"},
        {{"]", command}, "⌘]", "Ctrl+]", "<Primary>bracketright"},
        {{"[", command}, "⌘[", "Ctrl+[", "<Primary>bracketleft"},
        {{"v", option | shift | command}, "⌥⇧⌘V", "Shift+Ctrl+Alt+V", "<Shift><Primary><Alt>v"},
        {{" ", 0}, "Space", "Space", "space"},
        {{kEscapeKey, 0}, "⎋", "Escape", "Escape"},
        {{"f", 0}, "F", "F", "f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gtkLabel);
        EXPECT_EQ(c.key.display(), c.glyphs);
        EXPECT_EQ(c.key.gtkLabel(), c.gtkLabel);
        EXPECT_EQ(c.key.gtkAccelerator(), c.accelerator);
    }
    EXPECT_EQ((ShortcutKey{kReturnKey, command}.display()), "⌘↩");
    EXPECT_EQ((ShortcutKey{"v", command | shift | option | control}.display()), "⌃⌥⇧⌘V");
}

TEST(ShortcutKeyTest, SkinLayoutKeepsThePageIdsAndMenuOrderShortcuts) {
    const auto& skins = MenuLayout::skins();
    const std::pair<const char*, std::int64_t> expected[] = {
        {"Glossy", 0}, {"Contour", 2},   {"Bubble", 6},   {"Mesh", 3},
        {"Dust", 1},   {"Dandelion", 4}, {"Parasite", 5}, {"Wake", 7},
    };
    ASSERT_EQ(skins.size(), 8u);
    for (std::size_t i = 0; i < skins.size(); ++i) {
        EXPECT_EQ(skins[i].name, expected[i].first);
        EXPECT_EQ(skins[i].id, expected[i].second);
        EXPECT_EQ(skins[i].shortcut, (ShortcutKey{std::to_string(i + 1), modifier::command}));
    }
}
