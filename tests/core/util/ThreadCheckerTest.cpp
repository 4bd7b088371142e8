#include "core/util/ThreadChecker.h"

#include <gtest/gtest.h>

#include <thread>

using vimbo::util::SerialQueue;
using vimbo::util::ThreadChecker;

TEST(ThreadCheckerDeathTest, AbortsOnAWrongCallerAndPassesTheRightOne) {
    if (!vimbo::util::kThreadChecks) GTEST_SKIP() << "thread checks are compiled out of this build";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ThreadChecker mainThread;
    mainThread.check();
    EXPECT_DEATH(std::thread([&] { mainThread.check(); }).join(), "must run on the thread that created it");

    SerialQueue queue("test.checked");
    queue.sync([&] { vimbo::util::checkOnQueue(queue); });
    EXPECT_DEATH(vimbo::util::checkOnQueue(queue), "must run on test.checked");
}
