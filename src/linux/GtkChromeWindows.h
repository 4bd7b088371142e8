#pragma once

#include "core/chrome/TitleBarLayout.h"
#include "core/platform/ChromeWindows.h"
#include "core/platform/MainWindow.h"
#include "core/util/ThreadChecker.h"
#include "linux/GtkBorderlessWindow.h"
#include "linux/GtkButtonsFade.h"
#include "linux/GtkDragBar.h"
#include "linux/GtkMiniLight.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <optional>

namespace vimbo::linuxdesktop {

// The main window (1100 x 760, at least 200 x 200, centred) and the mini player (260 x 260, square,
// 200 to 500), both borderless, taking turns at showing the page: the web view with the drag bar and
// the mini light over its top. Main thread.
class GtkChromeWindows : public platform::ChromeWindows, public platform::MainWindow {
  public:
    // `surround` may wrap the page in more overlays (it returns what the windows show). `onMainClose`
    // runs when the user closes the main window; the window itself is kept.
    GtkChromeWindows(GtkApplication* application, GtkWidget* webView,
                     const std::function<GtkWidget*(GtkWidget*)>& surround,
                     std::function<void()> onMainClose);
    ~GtkChromeWindows() override;
    GtkChromeWindows(const GtkChromeWindows&) = delete;
    GtkChromeWindows& operator=(const GtkChromeWindows&) = delete;

    // The side of the drag bar the buttons are on, from the desktop's button layout.
    static chrome::TitleBarSide desktopTitleBarSide();
    GtkWindow* mainWindow() const { return main_.window(); }

    void show() override;
    void hide() override;
    bool isVisible() const override;
    void setAppearanceDark(bool dark) override;

    void setListener(platform::ChromeWindowsListener* listener) override { listener_ = listener; }
    platform::Rect mainFrame() const override { return main_.frame(); }
    platform::Rect workArea() const override { return main_.workArea(); }
    platform::Rect miniFrameForPage(double pageWidth, double pageHeight) const override;
    platform::Rect miniFrame() const override;
    void showPageInMini(const platform::Rect& frame) override;
    void showPageInMain() override;
    void setMiniKeepAbove(bool above) override;
    void requestFullScreen(bool fullScreen) override;
    bool isFocused(platform::ChromeWindow window) const override;
    void setButtonsAlpha(platform::ChromeWindow window, double alpha, double seconds) override;
    void setMiniLight(bool allowed, bool idleFading) override;
    void setPassThrough(const std::vector<platform::Rect>& rects) override;
    void setGlass(bool glass, bool dark) override;

  private:
    GtkBorderlessWindow::Events eventsOf(platform::ChromeWindow window);
    GtkBorderlessWindow& mini();
    GtkBorderlessWindow& current() { return pageInMini_ ? *mini_ : main_; }
    platform::ChromeWindow currentKind() const;
    void movePage(GtkBorderlessWindow& from, GtkBorderlessWindow& to);
    void buttonClicked(chrome::TitleBarButton button);
    void zoom();
    void rowHoverChanged(bool barRow, bool miniLight);
    void refreshButtons();
    bool dialogUp() const;
    void scheduleMiniFrameReport();

    GtkApplication* application_;
    GtkWidget* webView_;
    // How WebKit draws the page without glass: its policy as the page host left it.
    WebKitHardwareAccelerationPolicy plainDrawing_;
    chrome::TitleBarSide side_;
    GtkDragBar bar_;
    GtkMiniLight miniLight_;
    GtkButtonsFade fade_;
    GtkWidget* content_; // the page as the windows show it; one reference held here
    GtkBorderlessWindow main_;
    std::unique_ptr<GtkBorderlessWindow> mini_;
    std::function<void()> onMainClose_;
    platform::ChromeWindowsListener* listener_ = nullptr;
    bool pageInMini_ = false;
    double buttonsAlpha_[2] = {1.0, 1.0}; // by platform::ChromeWindow
    bool miniLightAllowed_ = true;
    bool idleFading_ = false;
    bool barRowHovered_ = false;
    bool miniLightHovered_ = false;
    bool glass_ = false;
    bool dark_ = false;
    bool miniKeepAbove_ = false;
    std::optional<platform::Rect> miniUnzoomedFrame_; // the user's own frame while zoomed
    guint miniFrameReport_ = 0;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
