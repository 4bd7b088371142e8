#pragma once

#include "core/chrome/GlassPreferenceStore.h"
#include "core/platform/MainQueue.h"
#include "core/platform/PageHost.h"
#include "core/platform/SystemLog.h"
#include "core/util/ThreadChecker.h"

#include <memory>

namespace vimbo::chrome {

// Whether the glass backdrop shows, kept in step between the window's surface and the page: the
// user's stored preference, suppressed while the page shows its export screen. Main thread.
class GlassPresentation : public std::enable_shared_from_this<GlassPresentation> {
  public:
    GlassPresentation(platform::DefaultsStore& defaults, platform::SystemLog& systemLog,
                      platform::MainQueue& mainQueue);

    // Launch: reads the preference and sets the surface to match, before any page exists.
    void load();
    // `readyPage` is the page once it has finished loading, otherwise null: then only the surface changes.
    void setEnabled(bool enabled, platform::PageHost* readyPage);
    void setExportMode(bool exportMode, platform::PageHost* readyPage);
    void setAppearanceDark(bool dark);
    // Glass goes on at the surface before the page is told, and off there only after the page handled it.
    void synchronize(platform::PageHost* readyPage);

    bool enabled() const { return enabled_; }
    bool appearanceDark() const { return appearanceDark_; }
    bool effective() const { return enabled_ && !exportMode_; }
    // Whether the window's backdrop currently shows glass.
    bool surfaceGlass() const { return surfaceGlass_; }

  private:
    GlassPreferenceStore preferenceStore_;
    platform::SystemLog& systemLog_;
    platform::MainQueue& mainQueue_;
    bool enabled_ = false;
    bool exportMode_ = false;
    bool appearanceDark_ = false;
    bool surfaceGlass_ = false;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::chrome
