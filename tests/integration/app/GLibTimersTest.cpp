#include "linux/GLibTimers.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vimbo::linux {
namespace {

constexpr double kFrame = 1e6 / 60.0; // microseconds

TEST(GLibTimersTest, NextFrameStaysOnTheGridAndSkipsMissedFrames) {
    EXPECT_EQ(nextFrameAfter(1, 0, kFrame, 16667), 2);  // on time
    EXPECT_EQ(nextFrameAfter(1, 0, kFrame, 20000), 2);  // a little late: the next deadline is unchanged
    EXPECT_EQ(nextFrameAfter(2, 0, kFrame, 100000), 7); // 6 frames elapsed: resume at the 7th, no burst
    EXPECT_EQ(nextFrameAfter(5, 0, kFrame, 1000), 6);   // early wake-ups never repeat a frame
    // A million frames in (4.6 hours), deadlines are still exact multiples of 1/60 s.
    EXPECT_EQ(nextFrameAfter(999999, 0, kFrame, 16666666666), 1000000);
}

struct LoopRun {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    ~LoopRun() { g_main_loop_unref(loop); }
    // Runs the default context until quit() or `seconds` pass.
    void run(double seconds) {
        guint guard = g_timeout_add(
            static_cast<guint>(seconds * 1000),
            [](gpointer l) -> gboolean {
                g_main_loop_quit(static_cast<GMainLoop*>(l));
                return G_SOURCE_REMOVE;
            },
            loop);
        g_main_loop_run(loop);
        if (GSource* source = g_main_context_find_source_by_id(nullptr, guard)) g_source_destroy(source);
    }
};

TEST(GLibTimersTest, FiresNoEarlierThanEachMultipleOfTheIntervalFromTheStart) {
    LoopRun loop;
    std::vector<gint64> fired;
    GLibTimers timers;
    gint64 before = g_get_monotonic_time();
    auto timer = timers.repeat(1.0 / 60.0, [&] {
        fired.push_back(g_get_monotonic_time());
        if (fired.size() == 10) g_main_loop_quit(loop.loop);
    });
    loop.run(30);
    ASSERT_EQ(fired.size(), 10u);
    for (std::size_t k = 0; k < fired.size(); ++k) {
        EXPECT_GE(fired[k], before + static_cast<gint64>((k + 1) * kFrame)) << "call " << k;
    }
}

TEST(GLibTimersTest, ATimerDestroyedFromItsOwnActionNeverFiresAgain) {
    LoopRun loop;
    GLibTimers timers;
    std::unique_ptr<platform::RepeatingTimer> timer;
    int calls = 0;
    timer = timers.repeat(0.001, [&] {
        ++calls;
        timer.reset();
    });
    loop.run(0.1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(timer, nullptr);
}

} // namespace
} // namespace vimbo::linux
