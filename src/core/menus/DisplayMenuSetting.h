#pragma once

#include "core/menus/ShortcutKey.h"

#include <array>
#include <optional>
#include <string_view>

namespace vimbo::menus {

// A page display setting the View ▸ Display submenu toggles; its raw value crosses to the page.
enum class DisplayMenuSetting { dark, glow, glass, keepAwake, musicInfo, menuBarVisible };

inline constexpr std::array kAllDisplayMenuSettings{
    DisplayMenuSetting::dark,      DisplayMenuSetting::glow,      DisplayMenuSetting::glass,
    DisplayMenuSetting::keepAwake, DisplayMenuSetting::musicInfo, DisplayMenuSetting::menuBarVisible,
};

std::string_view rawValue(DisplayMenuSetting setting);
std::optional<DisplayMenuSetting> displayMenuSetting(std::string_view rawValue);
std::string_view menuTitle(DisplayMenuSetting setting);
// None for Glass, which has no key equivalent.
std::optional<ShortcutKey> keyEquivalent(DisplayMenuSetting setting);

} // namespace vimbo::menus
