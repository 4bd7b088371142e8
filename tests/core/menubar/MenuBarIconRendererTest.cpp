#include "core/menubar/MenuBarIconRenderer.h"

#include "fakes/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace vimbo::menubar {
namespace {

using fakes::RecordingCanvas;

class MenuBarIconRendererTest : public ::testing::Test {
  protected:
    MenuBarIconRenderer renderer;
};

TEST_F(MenuBarIconRendererTest, ZeroStepAdvancesNothingButTakesTheBeat) {
    renderer.image(MenuBarSkin::slime, {.beat = 0.8}, 0);
    EXPECT_EQ(renderer.time(), 0);
    EXPECT_EQ(renderer.lastBeat(), 0.8);
    EXPECT_EQ(renderer.slime().squash.velocity, 0);
    EXPECT_EQ(renderer.slime().radii[0].value, 7.6);
    // A zero frame re-arms the next beat.
    renderer.image(MenuBarSkin::slime, {}, 0);
    EXPECT_EQ(renderer.lastBeat(), 0);
}

TEST_F(MenuBarIconRendererTest, StepIsClampedToZeroAndATenth) {
    renderer.image(MenuBarSkin::dust, {}, -1);
    EXPECT_EQ(renderer.time(), 0);
    renderer.image(MenuBarSkin::dust, {}, 5);
    EXPECT_EQ(renderer.time(), 0.1);
    renderer.image(MenuBarSkin::dust, {}, 0.05);
    EXPECT_EQ(renderer.time(), 0.1 + 0.05);
}

TEST_F(MenuBarIconRendererTest, BeatKicksOnlyAboveThreshold) {
    renderer.image(MenuBarSkin::dust, {.beat = 0.05}, 1.0 / 60);
    // Pulse target 0: without a kick the spring stays at rest.
    EXPECT_EQ(renderer.dust().pulse.velocity, 0);
    // A further rise of 0.5 (0.55 - 0.05) kicks in proportion to the whole rise.
    renderer.image(MenuBarSkin::dust, {.beat = 0.55}, 1.0 / 60);
    double h = 1.0 / 60;
    double v = 20 * 0.5;
    double expected = v + h * (60 * (0 - 0.0) - 4.5 * v);
    EXPECT_DOUBLE_EQ(renderer.dust().pulse.velocity, expected);
    EXPECT_DOUBLE_EQ(renderer.dust().pulse.value, h * expected);
}

TEST_F(MenuBarIconRendererTest, SlimeBeatSquashesAndAlternatesRadii) {
    renderer.image(MenuBarSkin::slime, {.beat = 1.0}, 1.0 / 60);
    EXPECT_GT(renderer.slime().squash.velocity, 0);
    EXPECT_GT(renderer.slime().radii[0].velocity, renderer.slime().radii[1].velocity);
    // Only the selected skin advances.
    EXPECT_EQ(renderer.dust().pulse.velocity, 0);
    EXPECT_EQ(renderer.dandelion().puff.velocity, 0);
}

TEST_F(MenuBarIconRendererTest, SlimeRadiusFollowsItsNoiseTarget) {
    const double dt = 1.0 / 60;
    renderer.image(MenuBarSkin::slime, {}, dt);
    // All radii start equal, so neighbour coupling adds nothing on the first step.
    const OrganicNoise& noise = renderer.slime().pointNoise[3];
    double target = std::min(0.0 + (0.42 * noise.value(dt * 0.26) + 6.95) + 0.0, 8.0);
    Spring expected{7.6, 0, 70, 9};
    expected.update(target, dt);
    double coupledVelocity = renderer.slime().radii[3].velocity;
    EXPECT_EQ(renderer.slime().radii[3].value, expected.value);
    EXPECT_NE(coupledVelocity, 0);
    EXPECT_EQ(renderer.slime().pointNoise[3].seed(), 5315296u + 3 * 977u);
}

TEST_F(MenuBarIconRendererTest, DandelionPuffsOnBeatAndSwaysWithWind) {
    renderer.image(MenuBarSkin::parasite, {.beat = 0.6}, 1.0 / 60);
    EXPECT_GT(renderer.dandelion().puff.value, 0);
    bool anySway = false;
    for (const Spring& spring : renderer.dandelion().thickSway)
        anySway |= spring.value != 0;
    EXPECT_TRUE(anySway);
}

TEST_F(MenuBarIconRendererTest, ImageKeepsItsOwnSnapshotAndDrawsOneSkin) {
    MenuBarIconImage first = renderer.image(MenuBarSkin::slime, {}, 0);
    EXPECT_EQ(first.width, 18);
    EXPECT_EQ(first.height, 18);
    for (int i = 0; i < 30; ++i)
        renderer.image(MenuBarSkin::slime, {.bass = 1, .beat = i % 2 ? 1.0 : 0}, 0.1);
    RecordingCanvas canvas;
    first.drawIn(canvas);
    ASSERT_EQ(canvas.operations.size(), 2u);
    // Still the resting blob: first point on the circle of radius 7.6 at the right of the centre.
    EXPECT_DOUBLE_EQ(canvas.operations[0].path.elements()[0].points[0].x, 9 + 7.6);
    EXPECT_EQ(canvas.saveDepth(), 0u);

    RecordingCanvas dust;
    renderer.image(MenuBarSkin::dust, {}, 0).drawIn(dust);
    EXPECT_EQ(dust.operations.size(), 200u);
    RecordingCanvas strands;
    renderer.image(MenuBarSkin::parasite, {}, 0).drawIn(strands);
    EXPECT_EQ(strands.operations.size(), 49u);
}

} // namespace
} // namespace vimbo::menubar
