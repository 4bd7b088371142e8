#include "core/export/SavePayload.h"

#include "core/util/PercentDecoding.h"

#include <charconv>

namespace vimbo::export_ {

SaveRequest parseSavePayload(std::string_view payload) {
    const auto colon = payload.find(':');
    if (colon == std::string_view::npos) return {std::string(payload), 0};
    const auto size = payload.substr(0, colon);
    std::int64_t bytes = 0;
    auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), bytes);
    if (size.empty() || error != std::errc{} || end != size.data() + size.size())
        return {std::string(payload), 0};
    const auto name = payload.substr(colon + 1);
    return {util::percentDecoded(name).value_or(std::string(name)), bytes};
}

} // namespace vimbo::export_
