#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vimbo::app {

// The "export:save:" payload: estimated size in bytes, a colon, the percent-encoded file name.
struct SavePayload {
    std::string filename;
    std::int64_t estimatedBytes = 0;

    // Without a colon or a decimal size that fits 64 bits, the whole payload is the name (not
    // decoded) with an estimate of 0. A name that does not decode is kept as it is.
    static SavePayload parse(std::string_view payload);
};

} // namespace vimbo::app
