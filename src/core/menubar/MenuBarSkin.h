#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace vimbo::menubar {

enum class MenuBarSkin { slime, dust, dandelion };

inline constexpr std::array<MenuBarSkin, 3> kAllMenuBarSkins{MenuBarSkin::slime, MenuBarSkin::dust,
                                                             MenuBarSkin::dandelion};

// The text stored in preferences; the dandelion skin is stored as "parasite", as it always was.
std::string_view rawValue(MenuBarSkin skin);
// The title the user sees in the skin menu.
std::string_view menuTitle(MenuBarSkin skin);
// No skin for any text other than the three raw values.
std::optional<MenuBarSkin> menuBarSkin(std::string_view rawValue);

} // namespace vimbo::menubar
