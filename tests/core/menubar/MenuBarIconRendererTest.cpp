#include "core/menubar/MenuBarIconRenderer.h"

#include "fakes/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace vimbo::menubar {
namespace {

class MenuBarIconRendererTest : public ::testing::Test {
  protected:
    MenuBarIconRenderer renderer;
};

TEST_F(MenuBarIconRendererTest, StepIsClampedToZeroAndATenthAndAZeroStepOnlyTakesTheBeat) {
    renderer.image(MenuBarSkin::slime, {.beat = 0.8}, 0);
    EXPECT_EQ(renderer.time(), 0);
    EXPECT_EQ(renderer.lastBeat(), 0.8);
    EXPECT_EQ(renderer.slime().squash.velocity, 0);
    renderer.image(MenuBarSkin::slime, {}, 0); // a zero frame re-arms the next beat
    EXPECT_EQ(renderer.lastBeat(), 0);
    renderer.image(MenuBarSkin::dust, {}, 5);
    EXPECT_EQ(renderer.time(), 0.1);
    renderer.image(MenuBarSkin::dust, {}, 0.05);
    EXPECT_EQ(renderer.time(), 0.1 + 0.05);
}

TEST_F(MenuBarIconRendererTest, BeatKicksOnlyAboveThresholdInProportionToTheRise) {
    const double h = 1.0 / 60;
    renderer.image(MenuBarSkin::dust, {.beat = 0.05}, h);
    EXPECT_EQ(renderer.dust().pulse.velocity, 0); // target 0 and no kick: still at rest
    renderer.image(MenuBarSkin::dust, {.beat = 0.55}, h);
    double kicked = 20 * 0.5;
    double expected = kicked + h * (60 * 0.0 - 4.5 * kicked);
    EXPECT_DOUBLE_EQ(renderer.dust().pulse.velocity, expected);
    EXPECT_DOUBLE_EQ(renderer.dust().pulse.value, h * expected);
}

TEST_F(MenuBarIconRendererTest, BeatMovesOnlyTheSelectedSkin) {
    renderer.image(MenuBarSkin::slime, {.beat = 1.0}, 1.0 / 60);
    EXPECT_GT(renderer.slime().squash.velocity, 0);
    EXPECT_GT(renderer.slime().radii[0].velocity, renderer.slime().radii[1].velocity); // alternating
    for (std::uint64_t k = 0; k < renderer.slime().pointNoise.size(); ++k)
        EXPECT_EQ(renderer.slime().pointNoise[k].seed(), 5315296 + 977 * k);
    EXPECT_EQ(renderer.dust().pulse.velocity, 0);
    EXPECT_EQ(renderer.dandelion().puff.velocity, 0);

    MenuBarIconRenderer dandelion;
    dandelion.image(MenuBarSkin::dandelion, {.beat = 0.6}, 1.0 / 60);
    EXPECT_GT(dandelion.dandelion().puff.value, 0);
    bool swaying = false;
    for (const Spring& spring : dandelion.dandelion().thickSway)
        swaying |= spring.value != 0;
    EXPECT_TRUE(swaying);
}

TEST_F(MenuBarIconRendererTest, ImageKeepsItsOwnSnapshotAndDrawsOneSkin) {
    MenuBarIconImage first = renderer.image(MenuBarSkin::slime, {}, 0);
    for (int i = 0; i < 30; ++i)
        renderer.image(MenuBarSkin::slime, {.bass = 1, .beat = i % 2 ? 1.0 : 0}, 0.1);
    fakes::RecordingCanvas canvas;
    first.drawIn(canvas);
    ASSERT_EQ(canvas.operations.size(), 2u); // the blob and its highlight
    EXPECT_EQ(canvas.saveDepth(), 0u);
    // Still the resting blob: its first point on the radius of 7.6 right of the centre.
    EXPECT_DOUBLE_EQ(canvas.operations[0].path.elements()[0].points[0].x, 9 + 7.6);
}

} // namespace
} // namespace vimbo::menubar
