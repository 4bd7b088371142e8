#include "linux/GLibTimers.h"

#include "core/util/ThreadChecker.h"

#include <glib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace vimbo::linuxdesktop {
namespace {

// A GSource woken by its ready time; the action lives in the source so that it survives its own
// timer being destroyed while it runs.
struct DeadlineSource {
    GSource base;
    gint64 start;    // microseconds, monotonic
    double interval; // microseconds
    std::int64_t frame;
    std::function<void()> action; // built in place after g_source_new, destroyed in finalize
};

gint64 deadline(const DeadlineSource* source, std::int64_t frame) {
    return source->start + std::llround(static_cast<double>(frame) * source->interval);
}

gboolean dispatch(GSource* base, GSourceFunc, gpointer) {
    auto* source = reinterpret_cast<DeadlineSource*>(base);
    source->frame = nextFrameAfter(source->frame, source->start, source->interval, g_get_monotonic_time());
    g_source_set_ready_time(base, deadline(source, source->frame));
    source->action();
    return G_SOURCE_CONTINUE;
}

void finalize(GSource* base) {
    auto* source = reinterpret_cast<DeadlineSource*>(base);
    std::destroy_at(&source->action);
}

GSourceFuncs kFuncs{nullptr, nullptr, dispatch, finalize, nullptr, nullptr};

class GLibRepeatingTimer : public platform::RepeatingTimer {
  public:
    GLibRepeatingTimer(double interval, std::function<void()> action)
        : source_(g_source_new(&kFuncs, sizeof(DeadlineSource))) {
        auto* source = reinterpret_cast<DeadlineSource*>(source_);
        source->start = g_get_monotonic_time();
        source->interval = interval * 1e6;
        source->frame = 1;
        std::construct_at(&source->action, std::move(action));
        g_source_set_priority(source_, G_PRIORITY_DEFAULT);
        g_source_set_name(source_, "vimbo repeating timer");
        g_source_set_ready_time(source_, deadline(source, source->frame));
        g_source_attach(source_, nullptr);
    }
    ~GLibRepeatingTimer() override {
        mainThread_.check();
        g_source_destroy(source_);
        g_source_unref(source_);
    }
    GLibRepeatingTimer(const GLibRepeatingTimer&) = delete;
    GLibRepeatingTimer& operator=(const GLibRepeatingTimer&) = delete;

  private:
    GSource* source_;
    util::ThreadChecker mainThread_;
};

} // namespace

std::int64_t nextFrameAfter(std::int64_t lastFrame, std::int64_t start, double interval, std::int64_t now) {
    auto elapsedFrames = static_cast<std::int64_t>(std::floor(static_cast<double>(now - start) / interval));
    return std::max(lastFrame + 1, elapsedFrames + 1);
}

std::unique_ptr<platform::RepeatingTimer> GLibTimers::repeat(double interval, std::function<void()> action) {
    return std::make_unique<GLibRepeatingTimer>(interval, std::move(action));
}

} // namespace vimbo::linuxdesktop
