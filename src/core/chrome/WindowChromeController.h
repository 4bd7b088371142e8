#pragma once

#include "core/chrome/GlassPresentation.h"
#include "core/chrome/MiniWindowAnchorStore.h"
#include "core/chrome/WindowChromeState.h"
#include "core/menus/MainMenuController.h"
#include "core/platform/ChromeWindows.h"
#include "core/platform/PageHost.h"

#include <memory>
#include <vector>

namespace vimbo::chrome {

// The windows' states: the page in the main window or in the mini player, floating, full screen and
// the title-bar buttons' idle fade. Keeps the windows, the main menu and the page in step with them.
// Until windows are attached only the state is kept and reported. Main thread.
class WindowChromeController : public platform::ChromeWindowsListener {
  public:
    WindowChromeController(platform::DefaultsStore& defaults, std::shared_ptr<GlassPresentation> glass);
    WindowChromeController(const WindowChromeController&) = delete;
    WindowChromeController& operator=(const WindowChromeController&) = delete;

    // Launch: the windows report here from now on and take the current glass.
    void attach(platform::ChromeWindows& windows);
    void setMainMenuController(menus::MainMenuController* controller) { mainMenuController_ = controller; }
    // The page (or a reload of it) finished loading: it gets the state even if it is unchanged.
    void pageDidFinishLoading(platform::PageHost& page);

    bool isMini() const { return isMini_; }
    bool isAlwaysOnTop() const { return isAlwaysOnTop_; }
    bool isFullScreen() const { return isFullScreen_; }
    bool entersMiniAfterFullScreenExit() const { return entersMiniAfterFullScreenExit_; }
    bool isChromeIdle() const { return isChromeIdle_; }
    const std::vector<platform::Rect>& passThroughRects() const { return passThroughRects_; }

    // Entering from full screen leaves full screen first and enters once the window reports it left.
    void setMini(bool mini);
    // Only the mini player floats: ignored in the main window.
    void setAlwaysOnTop(bool onTop);
    void toggleMiniPlayerFromMenu() { setMini(!isMini_); }
    void toggleAlwaysOnTopFromMenu() { setAlwaysOnTop(!isAlwaysOnTop_); }
    // The main window only; the mini player never goes full screen.
    void toggleFullScreen();
    // The page reports the pointer idle or back: the buttons fade out or in.
    void setChromeIdle(bool idle);
    // The page's export screen hides the mini light and suppresses glass.
    void setExportMode(bool exportMode);
    void setPassThrough(std::vector<platform::Rect> rects);
    // Brings the mini player to the front again while it shows the page.
    void showMiniPlayer();
    // Applies the buttons' visibility for the current focus, without a fade.
    void synchronizeWindowActivityPresentation();
    // Tells the main menu (always) and the page (only a changed state) which window shows the page.
    void pushWindowChrome();

    void fullScreenChanged(bool fullScreen) override;
    void miniFrameChanged(const platform::Rect& frame) override;
    void miniCloseRequested() override { setMini(false); }
    void miniLightClicked() override { setMini(true); }
    void activityChanged() override { synchronizeWindowActivityPresentation(); }

  private:
    void enterMini();
    void leaveMini();
    void syncMiniLight();
    platform::ChromeWindow target() const;
    double buttonsAlpha() const;

    MiniWindowAnchorStore anchorStore_;
    std::shared_ptr<GlassPresentation> glass_;
    platform::ChromeWindows* windows_ = nullptr;
    platform::PageHost* readyPage_ = nullptr;
    menus::MainMenuController* mainMenuController_ = nullptr;
    WindowChromePushGate pushGate_;
    std::vector<platform::Rect> passThroughRects_;
    bool isMini_ = false;
    bool isAlwaysOnTop_ = false;
    bool isFullScreen_ = false;
    bool entersMiniAfterFullScreenExit_ = false;
    bool isChromeIdle_ = false;
    bool exportMode_ = false;
    // The mini player exists once it has shown the page.
    bool miniCreated_ = false;
};

} // namespace vimbo::chrome
