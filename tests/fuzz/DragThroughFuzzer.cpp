// The "dragThrough:" payload: any bytes give none or only rectangles the window can use.
#include "core/chrome/DragBarPassThrough.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto rects = vimbo::chrome::DragBarPassThrough::rects({reinterpret_cast<const char*>(data), size});
    if (!rects) return 0;
    for (const auto& rect : *rects) {
        const bool usable = std::isfinite(rect.x) && std::isfinite(rect.y) && std::isfinite(rect.width) &&
                            std::isfinite(rect.height) && rect.width > 0 && rect.height > 0;
        if (!usable) std::abort();
    }
    return 0;
}
