#include "core/menus/ShortcutKey.h"
#include "core/menus/MenuLayout.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

TEST(ShortcutKeyTest, DisplaysMacGlyphsInFixedModifierOrder) {
    EXPECT_EQ((ShortcutKey{"d", modifier::command}.display()), "⌘D");
    EXPECT_EQ((ShortcutKey{"z", modifier::shift | modifier::command}.display()), "⇧⌘Z");
    EXPECT_EQ((ShortcutKey{kLeftArrowKey, modifier::command | modifier::option}.display()), "⌥⌘←");
    EXPECT_EQ((ShortcutKey{kRightArrowKey, modifier::option | modifier::command}.display()), "⌥⌘→");
    EXPECT_EQ((ShortcutKey{"/", modifier::command}.display()), "⌘/");
    EXPECT_EQ((ShortcutKey{",", modifier::command}.display()), "⌘,");
    EXPECT_EQ((ShortcutKey{" ", 0}.display()), "Space");
    EXPECT_EQ((ShortcutKey{kEscapeKey, 0}.display()), "⎋");
    EXPECT_EQ((ShortcutKey{kReturnKey, modifier::command}.display()), "⌘↩");
    EXPECT_EQ((ShortcutKey{"v", modifier::command | modifier::shift | modifier::option | modifier::control}
                   .display()),
              "⌃⌥⇧⌘V");
}

TEST(ShortcutKeyTest, GtkLabelsAndAcceleratorsMapCommandToCtrlAndOptionToAlt) {
    struct Case {
        ShortcutKey key;
        const char* label;
        const char* accelerator;
    };
    const Case cases[] = {
        {{"1", modifier::command}, "Ctrl+1", "<Primary>1"},
        {{"m", modifier::shift | modifier::command}, "Shift+Ctrl+M", "<Shift><Primary>m"},
        {{kLeftArrowKey, modifier::option | modifier::command}, "Ctrl+Alt+Left", "<Primary><Alt>Left"},
        {{kRightArrowKey, modifier::option | modifier::command}, "Ctrl+Alt+Right", "<Primary><Alt>Right"},
        {{"/", modifier::shift | modifier::command}, "Shift+Ctrl+/", "<Shift><Primary>slash"},
        {{",", modifier::command}, "Ctrl+,", "<Primary>comma"},
        {{"]", modifier::command}, "Ctrl+]", "<Primary>bracketright"},
        {{"[", modifier::command}, "Ctrl+[", "<Primary>bracketleft"},
        {{"v", modifier::option | modifier::shift | modifier::command},
         "Shift+Ctrl+Alt+V",
         "<Shift><Primary><Alt>v"},
        {{" ", 0}, "Space", "space"},
        {{kEscapeKey, 0}, "Escape", "Escape"},
        {{"f", 0}, "F", "f"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.key.gtkLabel(), c.label);
        EXPECT_EQ(c.key.label(KeyLabelStyle::gtk), c.label);
        EXPECT_EQ(c.key.gtkAccelerator(), c.accelerator);
    }
}

TEST(ShortcutKeyTest, SkinLayoutKeepsThePageIdsAndMenuOrderShortcuts) {
    const auto& skins = MenuLayout::skins();
    ASSERT_EQ(skins.size(), 8u);
    const std::pair<const char*, std::int64_t> expected[] = {
        {"Glossy", 0}, {"Contour", 2},   {"Bubble", 6},   {"Mesh", 3},
        {"Dust", 1},   {"Dandelion", 4}, {"Parasite", 5}, {"Wake", 7},
    };
    for (std::size_t i = 0; i < skins.size(); ++i) {
        EXPECT_EQ(skins[i].name, expected[i].first);
        EXPECT_EQ(skins[i].id, expected[i].second);
        EXPECT_EQ(skins[i].shortcut, (ShortcutKey{std::to_string(i + 1), modifier::command}));
    }
    EXPECT_EQ(skins[4].shortcut.display(), "⌘5");
    EXPECT_EQ(&MenuLayout::skins(), &skins);
}
