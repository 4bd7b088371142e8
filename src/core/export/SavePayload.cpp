#include "core/export/SavePayload.h"

#include "core/util/PercentDecoding.h"
#include "core/util/WholeNumber.h"

namespace vimbo::export_ {

SaveRequest parseSavePayload(std::string_view payload) {
    const auto colon = payload.find(':');
    if (colon == std::string_view::npos) return {std::string(payload), 0};
    const auto bytes = util::wholeNumber<std::int64_t>(payload.substr(0, colon));
    if (!bytes) return {std::string(payload), 0};
    const auto name = payload.substr(colon + 1);
    return {util::percentDecoded(name).value_or(std::string(name)), *bytes};
}

} // namespace vimbo::export_
