#include "core/app/KeepAwakeActivities.h"

namespace vimbo::app {

void KeepAwakeActivities::beginKeepAwake() {
    begin(keepAwakeActivity_, platform::ActivityKind::displaySleep, "Vimbo visualizer running");
}

void KeepAwakeActivities::endKeepAwake() { end(keepAwakeActivity_); }

void KeepAwakeActivities::beginExport() {
    begin(exportActivity_, platform::ActivityKind::systemSleep, "Vimbo video export in progress");
}

void KeepAwakeActivities::endExport() { end(exportActivity_); }

void KeepAwakeActivities::begin(Activity& activity, platform::ActivityKind kind, const char* reason) {
    if (!activity) activity = keepAwake_.begin(kind, reason);
}

void KeepAwakeActivities::end(Activity& activity) {
    if (!activity) return;
    keepAwake_.end(*activity);
    activity.reset();
}

} // namespace vimbo::app
