#pragma once

namespace vimbo::platform {

// The main window that holds the page. Main thread.
class MainWindow {
  public:
    virtual ~MainWindow() = default;

    // Shows the window and brings it to the front.
    virtual void show() = 0;
    // Takes the window off the screen; the application keeps running.
    virtual void hide() = 0;
    // Shown on screen and not minimised.
    virtual bool isVisible() const = 0;
    // The window's own surfaces (its background until the page draws, its menus and dialogs) in the
    // page's light or dark appearance.
    virtual void setAppearanceDark(bool dark) = 0;
};

} // namespace vimbo::platform
