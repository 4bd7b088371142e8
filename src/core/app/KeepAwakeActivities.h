#pragma once

#include "core/platform/KeepAwake.h"

#include <optional>

namespace vimbo::app {

// The two process activities: the display kept awake while the user watches (from launch until the
// page says otherwise) and the system kept awake while an export runs. Each is held at most once.
class KeepAwakeActivities {
  public:
    explicit KeepAwakeActivities(platform::KeepAwake& keepAwake) : keepAwake_(keepAwake) {}

    void beginKeepAwake();
    void endKeepAwake();
    void beginExport();
    void endExport();

  private:
    using Activity = std::optional<platform::KeepAwake::Token>;

    // Each begins only when none of its kind is held.
    void begin(Activity& activity, platform::ActivityKind kind, const char* reason);
    void end(Activity& activity);

    platform::KeepAwake& keepAwake_;
    Activity keepAwakeActivity_;
    Activity exportActivity_;
};

} // namespace vimbo::app
