#pragma once

#include "core/menus/ShortcutKey.h"

#include <string>
#include <vector>

namespace vimbo::menus {

struct ShortcutRow {
    std::string title;
    std::vector<std::string> keys;

    bool operator==(const ShortcutRow&) const = default;
};

struct ShortcutSection {
    std::string title;
    std::vector<ShortcutRow> rows;

    bool operator==(const ShortcutSection&) const = default;
};

// The page's shortcut sheet, built from the same tables as the menus so that the two always agree.
// Key labels follow `style`: GTK's labels on Linux, the macOS glyphs on macOS.
struct KeyboardShortcutCatalog {
    static std::vector<ShortcutSection> sections(KeyLabelStyle style);
    // Compact UTF-8 JSON: [{"title":…,"rows":[{"title":…,"keys":[…]}]}]; "[]" if encoding fails.
    static std::string json(KeyLabelStyle style);
};

} // namespace vimbo::menus
