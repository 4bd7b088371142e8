#include "core/menus/WebMenuCommand.h"

namespace vimbo::menus {

std::string WebMenuCommand::javascript() const {
    switch (kind_) {
    case Kind::skin:
        return "window.__menuSelectSkin(" + std::to_string(number_) + ")";
    case Kind::cycleSkin:
        return "window.__menuCycleSkin(" + std::to_string(number_) + ")";
    case Kind::settings:
        return "window.__menuOpenSettings('normal')";
    case Kind::shortcuts:
        return "window.__menuShowShortcuts()";
    }
    return {};
}

} // namespace vimbo::menus
