#include "linux/GLibTimers.h"
#include "integration/support/MainLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vimbo::linuxdesktop {
namespace {

constexpr double kFrame = 1e6 / 60.0; // microseconds

TEST(GLibTimersTest, NextFrameStaysOnTheGridAndSkipsMissedFrames) {
    EXPECT_EQ(nextFrameAfter(1, 0, kFrame, 20000), 2);  // a little late: the next deadline is unchanged
    EXPECT_EQ(nextFrameAfter(2, 0, kFrame, 100000), 7); // 6 frames elapsed: resume at the 7th, no burst
    EXPECT_EQ(nextFrameAfter(5, 0, kFrame, 1000), 6);   // early wake-ups never repeat a frame
    // A million frames in (4.6 hours), deadlines are still exact multiples of 1/60 s.
    EXPECT_EQ(nextFrameAfter(999999, 0, kFrame, 16666666666), 1000000);
}

TEST(GLibTimersTest, FiresNoEarlierThanEachMultipleOfTheIntervalAndNeverOnceItsActionDestroysIt) {
    std::vector<gint64> fired;
    GLibTimers timers;
    std::unique_ptr<platform::RepeatingTimer> timer;
    const gint64 before = g_get_monotonic_time();
    timer = timers.repeat(1.0 / 60.0, [&] {
        fired.push_back(g_get_monotonic_time());
        if (fired.size() == 10) timer.reset();
    });
    testing::runUntil([&] { return timer == nullptr; }, 30);
    testing::runFor(0.1);
    ASSERT_EQ(fired.size(), 10u);
    for (std::size_t k = 0; k < fired.size(); ++k) {
        EXPECT_GE(fired[k], before + static_cast<gint64>((k + 1) * kFrame)) << "call " << k;
    }
}

} // namespace
} // namespace vimbo::linuxdesktop
