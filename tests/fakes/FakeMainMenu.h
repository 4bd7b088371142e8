#pragma once

#include "core/platform/MainMenu.h"

#include <string>
#include <vector>

namespace vimbo::fakes {

// A menu bar in memory: the tree as built, and each item's check mark and enabling.
class FakeMainMenu : public platform::MainMenu {
  public:
    struct Entry {
        bool separator = false;
        int submenu = -1; // the menu this entry opens, or -1
        int item = -1;    // the item, or -1
    };
    struct Menu {
        std::string title;
        std::vector<Entry> entries;
    };
    struct ItemState {
        Item item;
        bool checked = false;
        bool enabled = true;
    };

    MenuId addSubmenu(MenuId parent, const std::string& title) override;
    ItemId addItem(MenuId menu, Item item) override;
    void addSeparator(MenuId menu) override;
    void setChecked(ItemId item, bool checked) override;
    void setEnabled(ItemId item, bool enabled) override;

    // The menu reached from the menu bar through the given titles ({"View", "Skin"}); throws if absent.
    MenuId menuAt(const std::vector<std::string>& path) const;
    // The entries of a menu as titles, separators as "-".
    std::vector<std::string> titles(MenuId menu) const;
    // The item titled `title` in the menu at `path`; throws if absent.
    ItemState& item(const std::vector<std::string>& path, const std::string& title);

    std::vector<Menu> menus{Menu{"", {}}};
    std::vector<ItemState> items;
};

} // namespace vimbo::fakes
