#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vimbo::menus {

// The page's settings as the native menus mirror them.
struct NativeMenuState {
    std::int64_t skin = 0;
    bool dark = false;
    bool glow = false;
    bool glass = false;
    bool keepAwake = false;
    bool musicInfo = false;
    bool menuBarVisible = false;
    bool musicControl = false;
    bool exportMode = false;

    bool operator==(const NativeMenuState&) const = default;
};

inline constexpr std::string_view kMenuStatePrefix = "menuState:";

// Percent-decodes the payload that follows "menuState:" and reads the JSON object strictly: all nine
// keys, "skin" a JSON integer, the rest JSON booleans. Anything else gives none, never a partial state.
std::optional<NativeMenuState> decodeMenuState(std::string_view payloadAfterPrefix);

// The whole page message: none unless it starts with "menuState:" exactly and its payload decodes.
std::optional<NativeMenuState> menuStateFromMessage(std::string_view body);

} // namespace vimbo::menus
