#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vimbo::export_ {

// What "export:save:" asks for: the file name to propose and the estimated size of the video.
struct SaveRequest {
    std::string filename;
    std::int64_t estimatedBytes = 0;
};

// The payload is size + ":" + percent-encoded name; without a colon or a whole signed 64-bit size
// before it, the whole payload is the name, as sent, and the estimate is 0.
SaveRequest parseSavePayload(std::string_view payload);

} // namespace vimbo::export_
