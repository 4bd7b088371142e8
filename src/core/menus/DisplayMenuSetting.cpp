#include "core/menus/DisplayMenuSetting.h"

namespace vimbo::menus {
namespace {

struct Entry {
    std::string_view raw;
    std::string_view title;
    const char* key; // nullptr: no key equivalent
};

Entry entry(DisplayMenuSetting setting) {
    switch (setting) {
    case DisplayMenuSetting::dark:
        return {"dark", "Dark Mode", "d"};
    case DisplayMenuSetting::glow:
        return {"glow", "Glow", "g"};
    case DisplayMenuSetting::glass:
        return {"glass", "Glass", nullptr};
    case DisplayMenuSetting::keepAwake:
        return {"keepAwake", "Keep Display Awake", "k"};
    case DisplayMenuSetting::musicInfo:
        return {"musicInfo", "Track Info", "i"};
    case DisplayMenuSetting::menuBarVisible:
        return {"menuBarVisible", "Menu Bar Icon", "b"};
    }
    return {"", "", nullptr};
}

} // namespace

std::string_view rawValue(DisplayMenuSetting setting) {
    return entry(setting).raw;
}

std::optional<DisplayMenuSetting> displayMenuSetting(std::string_view raw) {
    for (auto setting : kAllDisplayMenuSettings) {
        if (entry(setting).raw == raw) return setting;
    }
    return std::nullopt;
}

std::string_view menuTitle(DisplayMenuSetting setting) {
    return entry(setting).title;
}

std::optional<ShortcutKey> keyEquivalent(DisplayMenuSetting setting) {
    const char* key = entry(setting).key;
    if (key == nullptr) return std::nullopt;
    return ShortcutKey{key, modifier::command};
}

} // namespace vimbo::menus
