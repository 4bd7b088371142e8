#include "core/menubar/MenuBarIconRenderer.h"

#include "fakes/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <memory>

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

// Two thirds of a second of music with two beats, each skin on a renderer of its own, ends in a
// known state; the skins not shown stay where they were.
TEST_F(MenuBarIconRendererTest, MusicMovesOnlyTheSelectedSkinToAKnownState) {
    auto play = [](MenuBarSkin skin) {
        auto played = std::make_unique<MenuBarIconRenderer>();
        for (int frame = 0; frame < 40; ++frame)
            played->image(skin, {0.6, 0.2, 0.5, 0.7, 0.4, frame % 30 == 0 ? 0.9 : 0.0}, 1.0 / 60);
        return played;
    };
    auto slime = play(MenuBarSkin::slime);
    EXPECT_NEAR(slime->slime().radii[0].value, 9.0415934137060372, 1e-12);
    EXPECT_NEAR(slime->slime().squash.value, 2.5409365378644027, 1e-12);
    EXPECT_EQ(slime->dust().pulse.value, 0);

    auto dust = play(MenuBarSkin::dust);
    EXPECT_NEAR(dust->dust().pulse.value, 1.7002388746751511, 1e-12);
    EXPECT_EQ(dust->slime().squash.value, 0);

    auto dandelion = play(MenuBarSkin::dandelion);
    EXPECT_NEAR(dandelion->dandelion().puff.value, 1.1651405352616944, 1e-12);
    EXPECT_NEAR(dandelion->dandelion().thinSway[3].value, -0.011586308875557675, 1e-12);
    EXPECT_NEAR(dandelion->dandelion().thickSway[3].value, 0.075587150934691011, 1e-12);
    EXPECT_EQ(dandelion->slime().radii[0].value, 7.6);
}

TEST_F(MenuBarIconRendererTest, ImageKeepsItsOwnSnapshotAndRestoresWhatItSaves) {
    MenuBarIconImage first = renderer.image(MenuBarSkin::slime, {}, 0);
    for (int i = 0; i < 30; ++i)
        renderer.image(MenuBarSkin::slime, {.bass = 1, .beat = i % 2 ? 1.0 : 0}, 0.1);
    fakes::RecordingCanvas canvas;
    first.drawIn(canvas);
    ASSERT_EQ(canvas.operations.size(), 2u); // the blob and its highlight
    // Still the resting blob: its first point on the radius of 7.6 right of the centre.
    EXPECT_DOUBLE_EQ(canvas.operations[0].path.elements()[0].points[0].x, 9 + 7.6);
    for (MenuBarSkin skin : kAllMenuBarSkins) {
        fakes::RecordingCanvas balanced; // throws on a restore without its save
        renderer.image(skin, {}, 0).drawIn(balanced);
        EXPECT_EQ(balanced.saveDepth(), 0u);
    }
}

} // namespace
} // namespace vimbo::menubar
