#include "core/menubar/MenuBarFrameSampler.h"
#include "core/menubar/MenuBarMotionState.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vimbo::menubar {
namespace {

TEST(MenuBarMotionStateTest, RisesAtTwentyTwoFallsAtFiveAndAHalf) {
    MenuBarMotionState motion;
    const double h = 1.0 / 60;
    motion.update({.level = 1}, true, h);
    EXPECT_DOUBLE_EQ(motion.current.level, 1 - std::exp(-22 * h)); // about 31 % of the gap
    EXPECT_NEAR(motion.current.level, 0.31, 0.005);
    motion.current.bass = 1;
    motion.update({.level = motion.current.level}, true, h);
    EXPECT_DOUBLE_EQ(motion.current.bass, 1 - (1 - std::exp(-5.5 * h))); // about 9 % of the gap
}

TEST(MenuBarMotionStateTest, StepIsHeldBetweenOneTwoFortiethAndATenth) {
    MenuBarMotionState tiny;
    tiny.update({.mid = 1}, true, 0.001);
    EXPECT_DOUBLE_EQ(tiny.current.mid, 1 - std::exp(-22.0 / 240));
    MenuBarMotionState huge;
    huge.update({.mid = 1}, true, 3);
    EXPECT_DOUBLE_EQ(huge.current.mid, 1 - std::exp(-22 * 0.1));
}

TEST(MenuBarMotionStateTest, BeatJumpsAndDecays) {
    MenuBarMotionState motion;
    motion.update({.beat = 0.9}, true, 1.0 / 60);
    EXPECT_EQ(motion.current.beat, 0.9);
    motion.update({}, true, 0.05);
    EXPECT_DOUBLE_EQ(motion.current.beat, 0.9 * std::exp(-8.5 * 0.05));
}

TEST(MenuBarMotionStateTest, NotReactiveGivesTheZeroFrame) {
    MenuBarMotionState motion;
    motion.update({.level = 1, .beat = 1}, true, 0.1);
    EXPECT_EQ(motion.update({.level = 1, .beat = 1}, false, 0.1), MenuBarAudioFrame{});
    EXPECT_EQ(motion.current, MenuBarAudioFrame{});
}

TEST(MenuBarFrameSamplerTest, FirstFrameRendersAtOnceWithOneSixtieth) {
    MenuBarFrameSampler sampler;
    auto frame = sampler.sample(100, 0);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->deltaTime, 1.0 / 60);
    EXPECT_EQ(sampler.lastRenderTime, 100);
}

TEST(MenuBarFrameSamplerTest, SkippedTickCarriesItsBeat) {
    MenuBarFrameSampler sampler;
    sampler.sample(10, 0);
    EXPECT_FALSE(sampler.sample(10.010, 1.0f));
    EXPECT_EQ(sampler.pendingBeat, 1.0f);
    auto frame = sampler.sample(10.020, 0.2f);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->beat, 1.0f);
    EXPECT_NEAR(frame->deltaTime, 0.020, 1e-12);
    EXPECT_EQ(sampler.pendingBeat, 0);
}

TEST(MenuBarFrameSamplerTest, ToleranceAndLongGap) {
    MenuBarFrameSampler sampler;
    sampler.sample(1, 0);
    // Just under the interval by less than a microsecond still renders.
    EXPECT_TRUE(sampler.sample(1 + 1.0 / 60 - 0.0000005, 0));
    auto late = sampler.sample(2, 0);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->deltaTime, 0.1);
}

} // namespace
} // namespace vimbo::menubar
