#include "core/menus/DisplayMenuSetting.h"

#include "core/util/EnumTable.h"

namespace vimbo::menus {
namespace {

struct DisplayRow {
    DisplayMenuSetting value;
    std::string_view raw;
    std::string_view title;
    const char* key; // nullptr: no key equivalent
};

constexpr std::array<DisplayRow, 6> kDisplaySettings{{
    {DisplayMenuSetting::dark, "dark", "Dark Mode", "d"},
    {DisplayMenuSetting::glow, "glow", "Glow", "g"},
    {DisplayMenuSetting::glass, "glass", "Glass", nullptr},
    {DisplayMenuSetting::keepAwake, "keepAwake", "Keep Display Awake", "k"},
    {DisplayMenuSetting::musicInfo, "musicInfo", "Track Info", "i"},
    {DisplayMenuSetting::menuBarVisible, "menuBarVisible", "Menu Bar Icon", "b"},
}};
static_assert(util::inEnumOrder(kDisplaySettings) &&
              kDisplaySettings.size() == kAllDisplayMenuSettings.size());

} // namespace

std::string_view rawValue(DisplayMenuSetting setting) {
    return util::rowOf(kDisplaySettings, setting).raw;
}

std::optional<DisplayMenuSetting> displayMenuSetting(std::string_view raw) {
    return util::valueWithRaw(kDisplaySettings, raw);
}

std::string_view menuTitle(DisplayMenuSetting setting) {
    return util::rowOf(kDisplaySettings, setting).title;
}

std::optional<ShortcutKey> keyEquivalent(DisplayMenuSetting setting) {
    const char* key = util::rowOf(kDisplaySettings, setting).key;
    if (key == nullptr) return std::nullopt;
    return ShortcutKey{key, modifier::command};
}

} // namespace vimbo::menus
