#include "core/menus/ShortcutKey.h"
#include "core/menus/MenuLayout.h"

#include <gtest/gtest.h>

using namespace vimbo::menus;

// GTK's own parsing of the accelerators and labels is checked against the real toolkit.
TEST(ShortcutKeyTest, GlyphsLabelsAndAcceleratorsKeepTheirModifierOrder) {
    using namespace modifier;
    const struct {
        ShortcutKey key;
        const char* glyphs;
        const char* gtk;
        const char* accelerator;
    } cases[] = {
        {{kLeftArrowKey, command | option}, "⌥⌘←", "Ctrl+Alt+Left", "<Primary><Alt>Left"},
        {{"v", command | shift | option | control},
         "⌃⌥⇧⌘V",
         "Shift+Ctrl+Alt+Super+V",
         "<Shift><Primary><Alt><Super>v"},
        {{"/", shift | command}, "⇧⌘/", "Shift+Ctrl+/", "<Shift><Primary>slash"},
        {{"5", command}, "⌘5", "Ctrl+5", "<Primary>5"},
        {{"Z", command}, "⌘Z", "Ctrl+Z", "<Primary>z"}, // GTK names letter keys in lower case
        {{" ", 0}, "Space", "Space", "space"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.key.label(KeyLabelStyle::glyphs), c.glyphs);
        EXPECT_EQ(c.key.label(KeyLabelStyle::gtk), c.gtk);
        EXPECT_EQ(c.key.gtkAccelerator(), c.accelerator);
    }
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
