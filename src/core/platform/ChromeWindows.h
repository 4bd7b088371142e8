#pragma once

#include <vector>

namespace vimbo::platform {

// A rectangle in logical pixels. On the screen: origin at the top-left corner of the screen, y growing
// downwards. In a window: origin at the window's top-left corner.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The two windows that take turns showing the page.
enum class ChromeWindow { main, mini };

// What the windows report to the chrome controller. Main thread.
class ChromeWindowsListener {
  public:
    virtual ~ChromeWindowsListener() = default;

    // The window manager put the main window into full screen or took it out (its real state, not
    // the request).
    virtual void fullScreenChanged(bool fullScreen) = 0;
    // The mini player was moved or resized by the user; `frame` is its new frame on the screen.
    virtual void miniFrameChanged(const Rect& frame) = 0;
    // The mini player's close button or the window manager's close: back to the main window. (The
    // main window's close goes through MainWindow's close callback.)
    virtual void miniCloseRequested() = 0;
    // The mini light beside the main window's title-bar buttons was clicked.
    virtual void miniLightClicked() = 0;
    // Which window has the keyboard focus changed, or the application became active or inactive.
    virtual void activityChanged() = 0;
};

// The borderless windows with their drag bar, their drawn title-bar buttons (close, minimize, zoom,
// and the mini light in the main window) and their glass or plain surface: the main window and the
// mini player, created on first use. The page (the web view with the drag bar over its top) lives in
// one of them at a time and moves between them without reloading. Main thread.
class ChromeWindows {
  public:
    virtual ~ChromeWindows() = default;

    virtual void setListener(ChromeWindowsListener* listener) = 0;

    // The main window's frame on the screen, and the work area (the monitor without panels) of the
    // monitor it is on.
    virtual Rect mainFrame() const = 0;
    virtual Rect workArea() const = 0;
    // The mini player's outer size for a 260 x 260 page (the same when it has no decorations).
    virtual Rect miniFrameForPage(double pageWidth, double pageHeight) const = 0;
    // The mini player's current frame; meaningful once it has been shown.
    virtual Rect miniFrame() const = 0;

    // Shows the page in the mini player placed at `frame`, then hides the main window.
    virtual void showPageInMini(const Rect& frame) = 0;
    // Shows the page in the main window again, then hides the mini player.
    virtual void showPageInMain() = 0;
    // The mini player stays above other windows.
    virtual void setMiniKeepAbove(bool above) = 0;
    // Asks the window manager for full screen of the main window; fullScreenChanged reports the result.
    virtual void requestFullScreen(bool fullScreen) = 0;

    // The window has the keyboard focus and the application is active.
    virtual bool isFocused(ChromeWindow window) const = 0;
    // The opacity of a window's title-bar buttons (the mini light included in the main window),
    // reached over `seconds` (0: at once).
    virtual void setButtonsAlpha(ChromeWindow window, double alpha, double seconds) = 0;
    // Whether the mini light may show at all (not in the mini player, not in export mode; the
    // windows add their own conditions: focus, dialogs, hidden buttons), and its idle look.
    virtual void setMiniLight(bool allowed, bool idleFading) = 0;

    // The page's pass-through rectangles in drag-bar coordinates: clicks there reach the page.
    virtual void setPassThrough(const std::vector<Rect>& rects) = 0;
    // Glass (transparent window, edge band, blur where the compositor offers it) or the plain
    // background of the appearance, for both windows; glass is never shown in full screen.
    virtual void setGlass(bool glass, bool dark) = 0;
};

} // namespace vimbo::platform
