#include "fakes/FakeMainMenu.h"

#include <stdexcept>
#include <utility>

namespace vimbo::fakes {

FakeMainMenu::MenuId FakeMainMenu::addSubmenu(MenuId parent, const std::string& title) {
    menus.push_back(Menu{title, {}});
    auto id = static_cast<MenuId>(menus.size() - 1);
    menus.at(parent).entries.push_back(Entry{false, id, -1});
    return id;
}

FakeMainMenu::ItemId FakeMainMenu::addItem(MenuId menu, Item item) {
    bool enabled = item.enabled;
    items.push_back(ItemState{std::move(item), false, enabled});
    auto id = static_cast<ItemId>(items.size() - 1);
    menus.at(menu).entries.push_back(Entry{false, -1, id});
    return id;
}

void FakeMainMenu::addSeparator(MenuId menu) {
    menus.at(menu).entries.push_back(Entry{true, -1, -1});
}

void FakeMainMenu::setChecked(ItemId item, bool checked) {
    if (!items.at(item).item.checkable) throw std::logic_error("check mark on an item without one");
    items.at(item).checked = checked;
}

void FakeMainMenu::setEnabled(ItemId item, bool enabled) {
    items.at(item).enabled = enabled;
}

FakeMainMenu::MenuId FakeMainMenu::menuAt(const std::vector<std::string>& path) const {
    MenuId current = kMenuBar;
    for (const auto& title : path) {
        MenuId next = -1;
        for (const auto& entry : menus.at(current).entries) {
            if (entry.submenu >= 0 && menus.at(entry.submenu).title == title) next = entry.submenu;
        }
        if (next < 0) throw std::out_of_range("no menu " + title);
        current = next;
    }
    return current;
}

std::vector<std::string> FakeMainMenu::titles(MenuId menu) const {
    std::vector<std::string> result;
    for (const auto& entry : menus.at(menu).entries) {
        if (entry.separator)
            result.push_back("-");
        else if (entry.submenu >= 0)
            result.push_back(menus.at(entry.submenu).title);
        else
            result.push_back(items.at(entry.item).item.title);
    }
    return result;
}

FakeMainMenu::ItemState& FakeMainMenu::item(const std::vector<std::string>& path, const std::string& title) {
    for (const auto& entry : menus.at(menuAt(path)).entries) {
        if (entry.item >= 0 && items.at(entry.item).item.title == title) return items.at(entry.item);
    }
    throw std::out_of_range("no item " + title);
}

} // namespace vimbo::fakes
