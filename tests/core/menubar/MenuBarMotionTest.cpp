#include "core/menubar/MenuBarFrameSampler.h"
#include "core/menubar/MenuBarMotionState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vimbo::menubar {
namespace {

TEST(MenuBarMotionStateTest, RisesAtTwentyTwoFallsAtFiveAndAHalfWithTheStepHeld) {
    const double h = 1.0 / 60;
    MenuBarMotionState motion;
    const double risen = 1 - std::exp(-22 * h);
    EXPECT_EQ(motion.update({1, 1, 1, 1, 1, 0}, true, h),
              (MenuBarAudioFrame{risen, risen, risen, risen, risen, 0}));
    motion.current = {.level = risen, .bass = 1};
    motion.update({.level = motion.current.level}, true, h);
    EXPECT_DOUBLE_EQ(motion.current.bass, std::exp(-5.5 * h));
    // The step is held between 1/240 and 1/10 s.
    MenuBarMotionState tiny, huge;
    tiny.update({.mid = 1}, true, 0.001);
    EXPECT_DOUBLE_EQ(tiny.current.mid, 1 - std::exp(-22.0 / 240));
    huge.update({.mid = 1}, true, 3);
    EXPECT_DOUBLE_EQ(huge.current.mid, 1 - std::exp(-22 * 0.1));
}

TEST(MenuBarMotionStateTest, BeatJumpsDecaysAndStopsWhenNotReactive) {
    MenuBarMotionState motion;
    motion.update({.beat = 0.9}, true, 1.0 / 60);
    EXPECT_EQ(motion.current.beat, 0.9);
    motion.update({}, true, 0.05);
    EXPECT_DOUBLE_EQ(motion.current.beat, 0.9 * std::exp(-8.5 * 0.05));
    EXPECT_EQ(motion.update({.level = 1, .beat = 1}, false, 0.1), MenuBarAudioFrame{});
    EXPECT_EQ(motion.current, MenuBarAudioFrame{});
}

TEST(MenuBarFrameSamplerTest, SkipsTicksCloserThanASixtiethAndCarriesTheirBeat) {
    MenuBarFrameSampler sampler;
    auto first = sampler.sample(10, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->deltaTime, 1.0 / 60);
    EXPECT_FALSE(sampler.sample(10.010, 1.0f));
    auto carried = sampler.sample(10.020, 0.2f);
    ASSERT_TRUE(carried);
    EXPECT_EQ(carried->beat, 1.0f);
    EXPECT_NEAR(carried->deltaTime, 0.020, 1e-12);
    EXPECT_EQ(sampler.pendingBeat, 0);
    // Short of the interval by under a microsecond still renders; a long gap is cut to 0.1 s.
    const double onTime = 10.020 + 1.0 / 60 - 0.0000005;
    EXPECT_TRUE(sampler.sample(onTime, 0));
    auto late = sampler.sample(onTime + 0.5, 0);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->deltaTime, 0.1);
}

} // namespace
} // namespace vimbo::menubar
