#include "core/menus/MenuLayout.h"

#include <utility>

namespace vimbo::menus {

const std::vector<MenuLayout::SkinEntry>& MenuLayout::skins() {
    static const std::vector<SkinEntry> entries = [] {
        // The page's skin catalog, read by the build: the one list of skin names, ids and order.
        const std::pair<const char*, std::int64_t> table[] = {
#include "core/menus/SkinTable.inc"
        };
        std::vector<SkinEntry> list;
        int position = 1;
        for (const auto& [name, id] : table) {
            list.push_back({name, id, ShortcutKey{std::to_string(position++), modifier::command}});
        }
        return list;
    }();
    return entries;
}

} // namespace vimbo::menus
