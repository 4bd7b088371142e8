#pragma once

#include "core/chrome/GlassPreferenceStore.h"
#include "core/platform/ChromeWindows.h"
#include "core/platform/MainQueue.h"
#include "core/platform/PageHost.h"
#include "core/platform/SystemLog.h"
#include "core/util/ThreadChecker.h"

#include <memory>

namespace vimbo::chrome {

// Whether the glass backdrop shows, kept in step between the windows' surface and the page: the
// user's stored preference, suppressed in full screen and while the page shows its export screen.
// Main thread.
class GlassPresentation : public std::enable_shared_from_this<GlassPresentation> {
  public:
    GlassPresentation(platform::DefaultsStore& defaults, platform::SystemLog& systemLog,
                      platform::MainQueue& mainQueue);

    // Launch: reads the preference and takes the appearance the windows open in, before any page exists.
    void load(bool appearanceDark);
    // The windows take the current surface, and every later switch.
    void attach(platform::ChromeWindows& windows);
    // `readyPage` is the page once it has finished loading, otherwise null: then only the surface changes.
    void setEnabled(bool enabled, platform::PageHost* readyPage);
    void setExportMode(bool exportMode, platform::PageHost* readyPage);
    void setFullScreen(bool fullScreen, platform::PageHost* readyPage);
    // The surface is applied again at once in the new appearance, without asking the page.
    void setAppearanceDark(bool dark);
    // Glass goes on at the surface before the page is told, and off there only after the page handled it.
    void synchronize(platform::PageHost* readyPage);

    bool enabled() const { return enabled_; }
    bool appearanceDark() const { return appearanceDark_; }
    bool effective() const { return enabled_ && !fullScreen_ && !exportMode_; }
    // Whether the window's backdrop currently shows glass.
    bool surfaceGlass() const { return surfaceGlass_; }

  private:
    void setSuppressed(bool& suppressor, bool suppressed, platform::PageHost* readyPage);
    void applySurface(bool glass);

    GlassPreferenceStore preferenceStore_;
    platform::SystemLog& systemLog_;
    platform::MainQueue& mainQueue_;
    platform::ChromeWindows* windows_ = nullptr;
    bool enabled_ = false;
    bool exportMode_ = false;
    bool fullScreen_ = false;
    bool appearanceDark_ = false;
    bool surfaceGlass_ = false;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::chrome
