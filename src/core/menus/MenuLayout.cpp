#include "core/menus/MenuLayout.h"

#include <utility>

namespace vimbo::menus {

const std::vector<MenuLayout::SkinEntry>& MenuLayout::skins() {
    static const std::vector<SkinEntry> entries = [] {
        const std::pair<const char*, std::int64_t> table[] = {
            {"Glossy", 0}, {"Contour", 2},   {"Bubble", 6},   {"Mesh", 3},
            {"Dust", 1},   {"Dandelion", 4}, {"Parasite", 5}, {"Wake", 7},
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
