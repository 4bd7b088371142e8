#pragma once

#include "core/platform/ChromeWindows.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vimbo::fakes {

// Windows that record what the controller asked of them, one text per call; the window showing the
// page takes the focus; full screen changes only when the test reports it.
class FakeChromeWindows : public platform::ChromeWindows {
  public:
    platform::ChromeWindowsListener* listener = nullptr;
    platform::Rect main{100, 100, 800, 600};
    platform::Rect work{0, 0, 1920, 1080};
    platform::Rect mini;
    platform::ChromeWindow focused = platform::ChromeWindow::main;
    std::vector<std::string> calls;
    std::vector<platform::Rect> passThrough;
    std::optional<bool> glass;
    bool glassDark = true;

    void setListener(platform::ChromeWindowsListener* value) override { listener = value; }
    platform::Rect mainFrame() const override { return main; }
    platform::Rect workArea() const override { return work; }
    platform::Rect miniFrameForPage(double width, double height) const override {
        return {0, 0, width, height};
    }
    platform::Rect miniFrame() const override { return mini; }
    void showPageInMini(const platform::Rect& frame) override {
        mini = frame;
        focused = platform::ChromeWindow::mini;
        calls.push_back("mini");
    }
    void showPageInMain() override {
        focused = platform::ChromeWindow::main;
        calls.push_back("main");
    }
    void setMiniKeepAbove(bool above) override { calls.push_back(above ? "above" : "normal"); }
    void requestFullScreen(bool on) override { calls.push_back(on ? "fullScreen" : "leaveFullScreen"); }
    bool isFocused(platform::ChromeWindow window) const override { return window == focused; }
    void setButtonsAlpha(platform::ChromeWindow window, double alpha, double seconds) override {
        char text[64];
        std::snprintf(text, sizeof text, "%s alpha %g over %g",
                      window == platform::ChromeWindow::mini ? "mini" : "main", alpha, seconds);
        calls.emplace_back(text);
    }
    void setMiniLight(bool allowed, bool idle) override {
        calls.push_back(std::string("light ") + (allowed ? "allowed" : "hidden") + (idle ? " idle" : ""));
    }
    void setPassThrough(const std::vector<platform::Rect>& rects) override { passThrough = rects; }
    void setGlass(bool on, bool dark) override {
        glass = on;
        glassDark = dark;
    }
};

} // namespace vimbo::fakes
