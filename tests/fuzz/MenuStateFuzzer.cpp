// The "menuState:" payload: any bytes decode to a whole state or to none.
#include "core/menus/NativeMenuState.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vimbo::menus::decodeMenuState({reinterpret_cast<const char*>(data), size});
    return 0;
}
