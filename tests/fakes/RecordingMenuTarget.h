#pragma once

#include "core/menus/MenuTarget.h"

#include <functional>
#include <utility>
#include <vector>

namespace vimbo::fakes {

// Records the actions it receives; enabling comes from a rule the test sets (everything by default).
class RecordingMenuTarget : public menus::MenuTarget {
  public:
    void performMenuAction(menus::MenuAction action, const menus::MenuValue& value) override {
        performed.emplace_back(action, value);
    }
    bool validateMenuItem(menus::MenuAction action) const override { return rule ? rule(action) : true; }

    std::vector<std::pair<menus::MenuAction, menus::MenuValue>> performed;
    std::function<bool(menus::MenuAction)> rule;
};

} // namespace vimbo::fakes
