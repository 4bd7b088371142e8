#pragma once

#include "core/platform/DefaultsStore.h"
#include "core/platform/MainWindow.h"

namespace vimbo::chrome {

// The page's light or dark appearance as the window shows it around the page. Remembered under
// "appearanceDark" so that the next launch opens in it, before the page has drawn. Main thread.
class WindowAppearance {
  public:
    explicit WindowAppearance(platform::DefaultsStore& defaults) : defaults_(defaults) {}

    // Launch: the window takes the stored appearance, dark (the page's own default) when none is stored.
    void attach(platform::MainWindow& window);
    // The page says which appearance it shows.
    void setDark(bool dark);
    // The appearance the windows open in.
    bool storedDark() const;

  private:
    platform::DefaultsStore& defaults_;
    platform::MainWindow* window_ = nullptr;
};

} // namespace vimbo::chrome
