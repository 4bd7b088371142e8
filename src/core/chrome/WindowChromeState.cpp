#include "core/chrome/WindowChromeState.h"

#include <nlohmann/json.hpp>

namespace vimbo::chrome {

std::string WindowChromeState::json() const {
    return nlohmann::json{{"mini", mini}, {"onTop", onTop}}.dump();
}

} // namespace vimbo::chrome
