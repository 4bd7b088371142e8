#pragma once

#include "core/menus/ShortcutKey.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vimbo::menus {

// The fixed list of page skins, in menu order; ids are the page's own skin numbers.
struct MenuLayout {
    struct SkinEntry {
        std::string name;
        std::int64_t id;
        ShortcutKey shortcut;

        bool operator==(const SkinEntry&) const = default;
    };

    // Built once on first use; the k-th entry's shortcut is Command-k.
    static const std::vector<SkinEntry>& skins();
};

} // namespace vimbo::menus
