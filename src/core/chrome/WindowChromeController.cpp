#include "core/chrome/WindowChromeController.h"

#include "core/chrome/MiniPlayerWindow.h"
#include "core/chrome/TitleBarButtonFade.h"

#include <utility>

namespace vimbo::chrome {

using platform::ChromeWindow;

WindowChromeController::WindowChromeController(platform::DefaultsStore& defaults,
                                               std::shared_ptr<GlassPresentation> glass)
    : anchorStore_(defaults), glass_(std::move(glass)) {}

void WindowChromeController::attach(platform::ChromeWindows& windows) {
    windows_ = &windows;
    windows.setListener(this);
    glass_->attach(windows);
    windows.setPassThrough(passThroughRects_);
    syncMiniLight();
}

void WindowChromeController::pageDidFinishLoading(platform::PageHost& page) {
    readyPage_ = &page;
    pushGate_.reset();
    pushWindowChrome();
}

void WindowChromeController::setMini(bool mini) {
    if (mini == isMini_ || !windows_) return;
    if (mini && isFullScreen_) {
        entersMiniAfterFullScreenExit_ = true;
        windows_->requestFullScreen(false);
        return;
    }
    isChromeIdle_ = false;
    windows_->setButtonsAlpha(ChromeWindow::main, TitleBarButtonFade::kShownAlpha, 0);
    if (miniCreated_) windows_->setButtonsAlpha(ChromeWindow::mini, TitleBarButtonFade::kShownAlpha, 0);
    isMini_ = mini;
    if (mini)
        enterMini();
    else
        leaveMini();
    synchronizeWindowActivityPresentation();
    pushWindowChrome();
}

void WindowChromeController::enterMini() {
    auto size = windows_->miniFrameForPage(MiniPlayerWindow::kPageSide, MiniPlayerWindow::kPageSide);
    windows_->showPageInMini(
        MiniPlayerWindow::placement(anchorStore_.load(), windows_->mainFrame(), size, windows_->workArea()));
    miniCreated_ = true;
}

void WindowChromeController::leaveMini() {
    if (miniCreated_) {
        auto frame = windows_->miniFrame();
        anchorStore_.save({frame.x, frame.y});
    }
    windows_->showPageInMain();
}

void WindowChromeController::setAlwaysOnTop(bool onTop) {
    if (!isMini_ || onTop == isAlwaysOnTop_) return;
    isAlwaysOnTop_ = onTop;
    windows_->setMiniKeepAbove(onTop);
    pushWindowChrome();
}

void WindowChromeController::toggleFullScreen() {
    if (windows_ && !isMini_) windows_->requestFullScreen(!isFullScreen_);
}

void WindowChromeController::setChromeIdle(bool idle) {
    if (idle == isChromeIdle_ || !windows_) return;
    isChromeIdle_ = idle;
    syncMiniLight();
    windows_->setButtonsAlpha(target(), buttonsAlpha(), TitleBarButtonFade::kIdleFadeSeconds);
}

void WindowChromeController::setExportMode(bool exportMode) {
    exportMode_ = exportMode;
    glass_->setExportMode(exportMode, readyPage_);
    syncMiniLight();
}

void WindowChromeController::setPassThrough(std::vector<platform::Rect> rects) {
    passThroughRects_ = std::move(rects);
    if (windows_) windows_->setPassThrough(passThroughRects_);
}

void WindowChromeController::showMiniPlayer() {
    if (isMini_) windows_->showPageInMini(windows_->miniFrame());
}

void WindowChromeController::synchronizeWindowActivityPresentation() {
    if (windows_) windows_->setButtonsAlpha(target(), buttonsAlpha(), 0);
}

void WindowChromeController::pushWindowChrome() {
    syncMiniLight();
    WindowChromeState state{isMini_, isAlwaysOnTop_};
    if (mainMenuController_) mainMenuController_->apply(menus::WindowMenuState{state.mini, state.onTop});
    if (readyPage_ && pushGate_.admits(state))
        readyPage_->evaluate("window.__windowChrome && __windowChrome(" + state.json() + ")");
}

void WindowChromeController::fullScreenChanged(bool fullScreen) {
    if (fullScreen == isFullScreen_) return;
    isFullScreen_ = fullScreen;
    glass_->setFullScreen(fullScreen, readyPage_);
    pushWindowChrome();
    if (!fullScreen && entersMiniAfterFullScreenExit_) {
        entersMiniAfterFullScreenExit_ = false;
        setMini(true);
    }
}

void WindowChromeController::miniFrameChanged(const platform::Rect& frame) {
    anchorStore_.save({frame.x, frame.y});
}

void WindowChromeController::syncMiniLight() {
    if (windows_) windows_->setMiniLight(!isMini_ && !exportMode_, isChromeIdle_);
}

ChromeWindow WindowChromeController::target() const {
    return isMini_ ? ChromeWindow::mini : ChromeWindow::main;
}

double WindowChromeController::buttonsAlpha() const {
    return TitleBarButtonFade::alpha(isMini_, windows_->isFocused(target()), isChromeIdle_);
}

} // namespace vimbo::chrome
