#include "core/app/SavePayload.h"

#include "core/util/PercentDecoding.h"

#include <algorithm>
#include <charconv>

namespace vimbo::app {

SavePayload SavePayload::parse(std::string_view payload) {
    auto colon = payload.find(':');
    if (colon == std::string_view::npos) return {std::string(payload), 0};
    auto size = payload.substr(0, colon);
    bool decimal = !size.empty() && std::ranges::all_of(size, [](char c) { return c >= '0' && c <= '9'; });
    std::int64_t bytes = 0;
    if (decimal) {
        auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), bytes);
        decimal = error == std::errc{} && end == size.data() + size.size();
    }
    if (!decimal) return {std::string(payload), 0};
    auto name = payload.substr(colon + 1);
    return {util::percentDecoded(name).value_or(std::string(name)), bytes};
}

} // namespace vimbo::app
