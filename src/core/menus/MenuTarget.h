#pragma once

#include "core/menus/MenuAction.h"

namespace vimbo::menus {

// The object the main menu's own items talk to (the application delegate). Main thread.
class MenuTarget {
  public:
    virtual ~MenuTarget() = default;

    // An item was chosen; `value` is the item's represented value.
    virtual void performMenuAction(MenuAction action, const MenuValue& value) = 0;
    // Whether an item with this action is enabled now.
    virtual bool validateMenuItem(MenuAction action) const = 0;
};

} // namespace vimbo::menus
