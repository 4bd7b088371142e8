#include "core/menubar/MenuBarSkin.h"

namespace vimbo::menubar {

std::string_view rawValue(MenuBarSkin skin) {
    switch (skin) {
    case MenuBarSkin::slime:
        return "slime";
    case MenuBarSkin::dust:
        return "dust";
    case MenuBarSkin::parasite:
        return "parasite";
    }
    return "slime";
}

std::string_view menuTitle(MenuBarSkin skin) {
    switch (skin) {
    case MenuBarSkin::slime:
        return "Slime";
    case MenuBarSkin::dust:
        return "Dust";
    case MenuBarSkin::parasite:
        return "Dandelion";
    }
    return "Slime";
}

std::optional<MenuBarSkin> menuBarSkin(std::string_view raw) {
    for (MenuBarSkin skin : kAllMenuBarSkins)
        if (rawValue(skin) == raw) return skin;
    return std::nullopt;
}

} // namespace vimbo::menubar
