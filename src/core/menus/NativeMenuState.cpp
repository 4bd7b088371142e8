#include "core/menus/NativeMenuState.h"

#include "core/util/PercentDecoding.h"

#include <nlohmann/json.hpp>

namespace vimbo::menus {
namespace {

std::optional<bool> booleanField(const nlohmann::json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || !found->is_boolean()) return std::nullopt;
    return found->get<bool>();
}

} // namespace

std::optional<NativeMenuState> decodeMenuState(std::string_view payloadAfterPrefix) {
    auto text = util::percentDecoded(payloadAfterPrefix);
    if (!text) return std::nullopt;
    auto object = nlohmann::json::parse(*text, nullptr, /*allow_exceptions=*/false);
    if (!object.is_object()) return std::nullopt;

    auto skin = object.find("skin");
    // A float such as 3.0 is not an integer, and an unsigned value must fit 64 signed bits.
    if (skin == object.end() || !skin->is_number_integer()) return std::nullopt;
    if (skin->is_number_unsigned() && skin->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
        return std::nullopt;
    }

    NativeMenuState state;
    state.skin = skin->get<std::int64_t>();
    const std::pair<const char*, bool NativeMenuState::*> flags[] = {
        {"dark", &NativeMenuState::dark},
        {"glow", &NativeMenuState::glow},
        {"glass", &NativeMenuState::glass},
        {"keepAwake", &NativeMenuState::keepAwake},
        {"musicInfo", &NativeMenuState::musicInfo},
        {"menuBarVisible", &NativeMenuState::menuBarVisible},
        {"musicControl", &NativeMenuState::musicControl},
        {"exportMode", &NativeMenuState::exportMode},
    };
    for (const auto& [key, field] : flags) {
        auto value = booleanField(object, key);
        if (!value) return std::nullopt;
        state.*field = *value;
    }
    return state;
}

std::optional<NativeMenuState> menuStateFromMessage(std::string_view body) {
    if (!body.starts_with(kMenuStatePrefix)) return std::nullopt;
    return decodeMenuState(body.substr(kMenuStatePrefix.size()));
}

} // namespace vimbo::menus
