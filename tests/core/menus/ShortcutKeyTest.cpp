#include "core/menus/ShortcutKey.h"
#include "core/menus/MenuLayout.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

// GTK's own parsing of the accelerators and labels is checked against the real toolkit.
TEST(ShortcutKeyTest, GlyphsFollowTheModifierOrderAndNameArrowKeys) {
    using namespace modifier;
    EXPECT_EQ((ShortcutKey{kLeftArrowKey, command | option}.display()), "⌥⌘←");
    EXPECT_EQ((ShortcutKey{"v", command | shift | option | control}.display()), "⌃⌥⇧⌘V");
    EXPECT_EQ((ShortcutKey{"/", shift | command}.gtkAccelerator()), "<Shift><Primary>slash");
}

TEST(ShortcutKeyTest, SkinLayoutKeepsThePageIdsAndMenuOrderShortcuts) {
    const auto& skins = MenuLayout::skins();
    const std::int64_t ids[] = {0, 2, 6, 3, 1, 4, 5, 7};
    ASSERT_EQ(skins.size(), 8u);
    for (std::size_t i = 0; i < skins.size(); ++i) {
        EXPECT_EQ(skins[i].id, ids[i]) << skins[i].name;
        EXPECT_EQ(skins[i].shortcut, (ShortcutKey{std::to_string(i + 1), modifier::command}));
    }
}
