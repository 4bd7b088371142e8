#pragma once

#include "core/platform/MainMenu.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vimbo::fakes {

// A menu bar in memory: the tree as built, and each item's check mark and enabling.
class FakeMainMenu : public platform::MainMenu {
  public:
    struct ItemState {
        Item item;
        bool checked = false;
        bool enabled = true;
    };
    struct Menu {
        std::vector<std::string> titles; // separators as "-"
        std::map<std::string, MenuId> submenus;
        std::map<std::string, ItemId> items;
    };

    MenuId addSubmenu(MenuId parent, const std::string& title) override {
        menus.emplace_back();
        menus.at(parent).titles.push_back(title);
        return menus.at(parent).submenus[title] = static_cast<MenuId>(menus.size() - 1);
    }
    ItemId addItem(MenuId menu, Item item) override {
        menus.at(menu).titles.push_back(item.title);
        menus.at(menu).items[item.title] = static_cast<ItemId>(items.size());
        items.push_back(ItemState{item, false, item.enabled});
        return static_cast<ItemId>(items.size() - 1);
    }
    void addSeparator(MenuId menu) override { menus.at(menu).titles.push_back("-"); }
    void setChecked(ItemId item, bool checked) override {
        if (!items.at(item).item.checkable) throw std::logic_error("check mark on an item without one");
        items.at(item).checked = checked;
    }
    void setEnabled(ItemId item, bool enabled) override { items.at(item).enabled = enabled; }

    // The menu reached from the menu bar through the given titles ({"View", "Skin"}); throws if absent.
    MenuId menuAt(const std::vector<std::string>& path) const {
        MenuId current = kMenuBar;
        for (const auto& title : path)
            current = menus.at(current).submenus.at(title);
        return current;
    }
    std::vector<std::string> titles(MenuId menu) const { return menus.at(menu).titles; }
    // The item titled `title` in the menu at `path`; throws if absent.
    ItemState& item(const std::vector<std::string>& path, const std::string& title) {
        return items.at(menus.at(menuAt(path)).items.at(title));
    }

    std::vector<Menu> menus{Menu{}};
    std::vector<ItemState> items;
};

} // namespace vimbo::fakes
