#include "core/menus/KeyboardShortcutCatalog.h"

#include "core/menus/DisplayMenuSetting.h"
#include "core/menus/MediaMenuCommand.h"
#include "core/menus/MenuLayout.h"

#include <nlohmann/json.hpp>

namespace vimbo::menus {
std::vector<ShortcutSection> KeyboardShortcutCatalog::sections(KeyLabelStyle style) {
    auto label = [style](const ShortcutKey& key) { return key.label(style); };

    ShortcutSection skins{"Skins", {}};
    for (const auto& entry : MenuLayout::skins())
        skins.rows.push_back({entry.name, {label(entry.shortcut)}});
    skins.rows.push_back({"Next Skin", {label(commandKey("]"))}});
    skins.rows.push_back({"Previous Skin", {label(commandKey("["))}});

    ShortcutSection display{"Display", {}};
    for (auto setting : kAllDisplayMenuSettings) {
        if (auto key = keyEquivalent(setting))
            display.rows.push_back({std::string(menuTitle(setting)), {label(*key)}});
    }

    ShortcutSection playback{"Playback", {}};
    for (auto media : kAllMediaMenuCommands) {
        ShortcutRow row{std::string(menuTitle(media)), {label(keyEquivalent(media))}};
        if (media == MediaMenuCommand::playpause)
            row.keys.insert(row.keys.begin(), label(ShortcutKey{" ", 0}));
        playback.rows.push_back(std::move(row));
    }

    ShortcutSection window{"Window",
                           {
                               {"Settings", {label(commandKey(","))}},
                               {"Full Screen", {label(commandKey("f")), label(ShortcutKey{"f", 0})}},
                               {"Mini Player", {label(commandKey("m", modifier::shift))}},
                               {"Always on Top", {label(commandKey("t", modifier::shift))}},
                               {"Minimize", {label(commandKey("m"))}},
                               {"Close Window", {label(commandKey("w"))}},
                               {"Close Dialog", {label(ShortcutKey{kEscapeKey, 0})}},
                           }};
    ShortcutSection help{"Help",
                         {
                             {"Keyboard Shortcuts", {label(commandKey("/"))}},
                             {"Vimbo Support", {label(commandKey("/", modifier::shift))}},
                         }};
    return {std::move(skins), std::move(display), std::move(playback), std::move(window), std::move(help)};
}

std::string KeyboardShortcutCatalog::json(KeyLabelStyle style) {
    try {
        auto encoded = nlohmann::json::array();
        for (const auto& section : sections(style)) {
            auto rows = nlohmann::json::array();
            for (const auto& row : section.rows)
                rows.push_back({{"title", row.title}, {"keys", row.keys}});
            encoded.push_back({{"title", section.title}, {"rows", std::move(rows)}});
        }
        // Strict UTF-8: a bad byte throws rather than reaching the page.
        return encoded.dump();
    } catch (const nlohmann::json::exception&) {
        return "[]";
    }
}

} // namespace vimbo::menus
