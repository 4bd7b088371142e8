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
    EXPECT_TRUE(smoothClosedPath({{0, 0}, {1, 1}}).empty());
    CanvasPath path = smoothClosedPath({{0, 0}, {6, 0}, {6, 6}, {0, 6}});
    const auto& elements = path.elements();
    ASSERT_EQ(elements.size(), 6u);
    EXPECT_EQ(elements[0].verb, CanvasPath::Verb::move);
    EXPECT_EQ(elements[5].verb, CanvasPath::Verb::close);
    // Segment 0 -> 1 with neighbours (0,6) and (6,6): controls (1,-1) and (5,-1), end (6,0).
    const auto& first = elements[1].points;
    EXPECT_DOUBLE_EQ(first[0].x, 1);
    EXPECT_DOUBLE_EQ(first[0].y, -1);
    EXPECT_DOUBLE_EQ(first[1].x, 5);
    EXPECT_DOUBLE_EQ(elements[4].points[2].y, 0); // the last segment ends at point 0 again
}

TEST(IconSkinDrawingTest, DustDotsKeepAPositiveSizeAndTheAlphaCapWhateverThePulse) {
    auto seeds = generateDustSeeds();
    for (double pulse : {-3.0, 9.0}) {
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

// Reach of each strand's end along its own direction: 30 thin strands, then 19 thick ones swayed
// by the same angle.
std::vector<double> strandReaches(const RecordingCanvas& canvas, double thickSway) {
    std::vector<double> reaches;
    for (std::size_t i = 0; i < canvas.operations.size(); ++i) {
        bool thin = i < 30;
        double f = thin ? i / 30.0 : (i - 30) / 19.0;
        double theta = thin ? 2 * std::numbers::pi * f + 0.09 : thickSway + 2 * std::numbers::pi * f;
        const auto& end = canvas.operations[i].path.elements()[1].points[2];
        reaches.push_back((end.x - 9) * std::cos(theta) + (end.y - 9) * std::sin(theta));
    }
    return reaches;
}

TEST(IconSkinDrawingTest, StrandsHaveTheirBaseLengthsAndStopAtEightPointSix) {
    DandelionState silent;
    RecordingCanvas canvas;
    drawDandelion(canvas, kRect, {}, 0, silent);
    auto reaches = strandReaches(canvas, 0);
    ASSERT_EQ(reaches.size(), 49u);
    EXPECT_NEAR(reaches[0], 6.4 + 0.5 * silent.length.value(0), 1e-12);
    EXPECT_NEAR(reaches[30], 7.4 + 0.5 * silent.length.value(0), 1e-12);

    DandelionState puffed;
    puffed.puff.value = 20;
    for (auto& spring : puffed.thickSway)
        spring = {0.3, 4, 30, 3.5};
    RecordingCanvas loud;
    drawDandelion(loud, kRect, {4, 4, 4, 4, 4, 4}, 7, puffed);
    reaches = strandReaches(loud, 0.3);
    ASSERT_EQ(reaches.size(), 49u);
    for (std::size_t i = 0; i < reaches.size(); ++i) {
        bool thin = i < 30;
        EXPECT_NEAR(reaches[i], 8.6, 1e-9) << i;
        EXPECT_EQ(loud.operations[i].lineWidth, thin ? 0.34 : 0.52);
        EXPECT_EQ(loud.operations[i].color.alpha, thin ? 0.45 : 0.8);
    }
}

} // namespace
} // namespace vimbo::menubar
