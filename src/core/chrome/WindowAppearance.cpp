#include "core/chrome/WindowAppearance.h"

namespace vimbo::chrome {
namespace {

constexpr const char* kAppearanceDarkKey = "appearanceDark";

} // namespace

void WindowAppearance::attach(platform::MainWindow& window) {
    window_ = &window;
    window.setAppearanceDark(storedDark());
}

void WindowAppearance::setDark(bool dark) {
    // The page repeats its appearance on every load; the file is rewritten only when it changes.
    if (dark != storedDark()) defaults_.writeBool(kAppearanceDarkKey, dark);
    if (window_) window_->setAppearanceDark(dark);
}

bool WindowAppearance::storedDark() const {
    return defaults_.readBool(kAppearanceDarkKey).value_or(true);
}

} // namespace vimbo::chrome
