#include "core/app/ReloadBackoff.h"

#include <gtest/gtest.h>

namespace vimbo::app {
namespace {

TEST(ReloadBackoffTest, CrashesInARowDoubleTheWaitUpToThirtySecondsAndACalmMinuteStartsOver) {
    ReloadBackoff backoff;
    double crash = 100;
    for (double expected : {0.5, 1.0, 2.0, 4.0, 8.0, 16.0, 30.0, 30.0}) {
        EXPECT_EQ(backoff.delayAfterCrash(crash), expected) << crash;
        crash += expected + 1; // the reload, then a crash a second later
    }
    crash += 59.9 - 31; // 59.9 s after the last crash: not calm yet
    EXPECT_EQ(backoff.delayAfterCrash(crash), 30.0);
    EXPECT_EQ(backoff.delayAfterCrash(crash + 60.5), 0.5);
    EXPECT_EQ(backoff.delayAfterCrash(crash + 61.5), 1.0);
}

} // namespace
} // namespace vimbo::app
