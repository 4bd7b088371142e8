#pragma once

#include "core/menus/MenuAction.h"
#include "core/menus/ShortcutKey.h"

#include <functional>
#include <optional>
#include <string>

namespace vimbo::platform {

// The application's menu bar: filled once, then only check marks and enabling change. Main thread.
class MainMenu {
  public:
    using MenuId = int;
    using ItemId = int;
    // The menu bar itself, parent of the top-level menus.
    static constexpr MenuId kMenuBar = 0;

    struct Item {
        // Unique among the items; the platform may use it to name the item's action.
        std::string id;
        std::string title;
        menus::MenuAction action;
        std::optional<menus::ShortcutKey> key;
        menus::MenuValue represented;
        // Carries a check mark (initially off).
        bool checkable = false;
        bool enabled = true;
        // What choosing the item does; empty for the platform's standard commands (editing, window
        // handling, quitting), which the platform performs itself from `action`.
        std::function<void()> activate;
    };

    virtual ~MainMenu() = default;

    // A submenu titled `title` appended to `parent` (the menu bar or another menu).
    virtual MenuId addSubmenu(MenuId parent, const std::string& title) = 0;
    virtual ItemId addItem(MenuId menu, Item item) = 0;
    virtual void addSeparator(MenuId menu) = 0;
    virtual void setChecked(ItemId item, bool checked) = 0;
    virtual void setEnabled(ItemId item, bool enabled) = 0;
};

} // namespace vimbo::platform
