#include "core/menubar/IconSkinDrawing.h"

#include "fakes/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vimbo::menubar {
namespace {

using fakes::RecordingCanvas;
using platform::CanvasPath;

constexpr platform::CanvasRect kRect{0, 0, 18, 18};

TEST(IconSkinDrawingTest, SmoothClosedPathIsCatmullRomThroughEveryPoint) {
    EXPECT_TRUE(smoothClosedPath({}).empty());
    EXPECT_TRUE(smoothClosedPath({{0, 0}, {1, 1}}).empty());
    CanvasPath path = smoothClosedPath({{0, 0}, {6, 0}, {6, 6}, {0, 6}});
    const auto& elements = path.elements();
    ASSERT_EQ(elements.size(), 6u);
    EXPECT_EQ(elements[0].verb, CanvasPath::Verb::move);
    EXPECT_EQ(elements[5].verb, CanvasPath::Verb::close);
    // Segment 0 -> 1: P0 = (0,6), P1 = (0,0), P2 = (6,0), P3 = (6,6).
    const auto& first = elements[1].points;
    EXPECT_DOUBLE_EQ(first[0].x, 1);
    EXPECT_DOUBLE_EQ(first[0].y, -1);
    EXPECT_DOUBLE_EQ(first[1].x, 5);
    EXPECT_DOUBLE_EQ(first[1].y, -1);
    EXPECT_DOUBLE_EQ(first[2].x, 6);
    // The last segment ends at point 0 again.
    EXPECT_DOUBLE_EQ(elements[4].points[2].x, 0);
    EXPECT_DOUBLE_EQ(elements[4].points[2].y, 0);
}

TEST(IconSkinDrawingTest, SlimeHighlightIsPunchedOutInItsOwnState) {
    RecordingCanvas canvas;
    drawSlime(canvas, kRect, SlimeState{});
    ASSERT_EQ(canvas.operations.size(), 2u);
    EXPECT_EQ(canvas.operations[0].color.alpha, 0.9);
    EXPECT_EQ(canvas.operations[0].blendMode, platform::CanvasBlendMode::normal);
    const auto& spot = canvas.operations[1];
    EXPECT_EQ(spot.blendMode, platform::CanvasBlendMode::destinationOut);
    EXPECT_EQ(spot.color.alpha, 0.5);
    EXPECT_DOUBLE_EQ(spot.rect.x, 9 - 3.7);
    EXPECT_DOUBLE_EQ(spot.rect.y, 9 + 1.6);
    EXPECT_EQ(spot.rect.width, 3.5);
    EXPECT_EQ(spot.rect.height, 2.1);
    EXPECT_EQ(canvas.saveDepth(), 0u);
}

TEST(IconSkinDrawingTest, DustDotsNeverPassTheAlphaCap) {
    auto seeds = generateDustSeeds();
    for (double pulse : {-3.0, 0.0, 1.0, 9.0}) {
        DustState dust;
        dust.pulse.value = pulse;
        RecordingCanvas canvas;
        drawDust(canvas, kRect, {3, 3, 3, 3, 3, 3}, 12.5, dust, seeds);
        ASSERT_EQ(canvas.operations.size(), 200u);
        for (const auto& dot : canvas.operations) {
            EXPECT_LE(dot.color.alpha, 0.94);
            EXPECT_GT(dot.rect.width, 0);
        }
    }
}

TEST(IconSkinDrawingTest, StrandsAreCappedAtEightPointSixAlongTheirDirection) {
    DandelionState dandelion;
    dandelion.puff.value = 20;
    for (auto& spring : dandelion.thickSway)
        spring = {0.3, 4, 30, 3.5};
    RecordingCanvas canvas;
    drawParasite(canvas, kRect, {4, 4, 4, 4, 4, 4}, 7, dandelion);
    ASSERT_EQ(canvas.operations.size(), 49u);
    for (std::size_t i = 0; i < canvas.operations.size(); ++i) {
        const auto& strand = canvas.operations[i];
        bool thin = i < 30;
        EXPECT_EQ(strand.lineWidth, thin ? 0.34 : 0.52);
        EXPECT_EQ(strand.color.alpha, thin ? 0.45 : 0.8);
        double f = thin ? i / 30.0 : (i - 30) / 19.0;
        double theta = (thin ? 0.0 : 0.3) + 2 * std::numbers::pi * f + (thin ? 0.09 : 0);
        const auto& end = strand.path.elements()[1].points[2];
        double along = (end.x - 9) * std::cos(theta) + (end.y - 9) * std::sin(theta);
        EXPECT_NEAR(along, 8.6, 1e-9);
    }
}

TEST(IconSkinDrawingTest, SilentDandelionHasItsBaseLengths) {
    DandelionState dandelion;
    RecordingCanvas canvas;
    drawParasite(canvas, kRect, {}, 0, dandelion);
    const auto& first = canvas.operations[0].path.elements()[1].points[2];
    double expected = 6.4 + 0.5 * dandelion.length.value(0);
    // theta = 0.09 for the first thin strand; project onto its direction.
    double along = (first.x - 9) * std::cos(0.09) + (first.y - 9) * std::sin(0.09);
    EXPECT_NEAR(along, expected, 1e-12);
    const auto& thick = canvas.operations[30].path.elements()[1].points[2];
    EXPECT_NEAR(thick.x - 9, 7.4 + 0.5 * dandelion.length.value(0), 1e-12);
}

} // namespace
} // namespace vimbo::menubar
