#include "core/chrome/DragBarPassThrough.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace vimbo::chrome {

std::optional<std::vector<PassThroughRect>> DragBarPassThrough::rects(std::string_view payload) {
    auto json = nlohmann::json::parse(payload, nullptr, /*allow_exceptions=*/false);
    if (!json.is_array()) return std::nullopt;
    for (const auto& inner : json) {
        if (!inner.is_array()) return std::nullopt;
        if (!std::ranges::all_of(inner, [](const nlohmann::json& value) { return value.is_number(); })) {
            return std::nullopt;
        }
    }
    std::vector<PassThroughRect> result;
    for (const auto& inner : json) {
        if (inner.size() != 4) continue;
        PassThroughRect rect{inner[0].get<double>(), inner[1].get<double>(), inner[2].get<double>(),
                             inner[3].get<double>()};
        bool finite = std::isfinite(rect.x) && std::isfinite(rect.y) && std::isfinite(rect.width) &&
                      std::isfinite(rect.height);
        if (finite && rect.width > 0 && rect.height > 0) result.push_back(rect);
    }
    return result;
}

} // namespace vimbo::chrome
