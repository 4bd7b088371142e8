#include "core/menubar/IconSkinDrawing.h"

#include "fakes/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <tuple>

namespace vimbo::menubar {
namespace {

using fakes::RecordingCanvas;
using platform::CanvasBlendMode;
using platform::CanvasPath;
using platform::CanvasPoint;

constexpr platform::CanvasRect kRect{0, 0, 18, 18};
// Every band of it moves the drawing somewhere.
constexpr MenuBarAudioFrame kLoud{0.6, 0.2, 0.5, 0.7, 0.4, 0.3};

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "value " << i;
}

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
    // Five points: segment 0 -> 1 takes its second control from point 2, two ahead, not from point 3.
    const auto pentagon = smoothClosedPath({{0, 0}, {6, 0}, {12, 6}, {6, 12}, {0, 6}}).elements();
    EXPECT_DOUBLE_EQ(pentagon[1].points[1].x, 4);
    EXPECT_DOUBLE_EQ(pentagon[1].points[1].y, -1);
}

TEST(IconSkinDrawingTest, SlimeClampsRadiiAndSquashAndPunchesHalfTheAlphaOutForItsHighlight) {
    SlimeState slime;
    slime.radii[0].value = 9; // drawn as 8.3
    slime.radii[2].value = 1; // drawn as 3.2
    const double angle = 0.4 * std::numbers::pi;
    // Squash beyond 1.4 draws as 1.4 (wider and flatter), below -1.4 as -1.4.
    for (auto [squash, wide, high] : {std::tuple(2.0, 1.161, 0.874), std::tuple(-2.0, 0.839, 1.126)}) {
        slime.squash.value = squash;
        RecordingCanvas canvas;
        drawSlime(canvas, kRect, slime);
        ASSERT_EQ(canvas.operations.size(), 2u);
        const auto& outline = canvas.operations[0];
        const auto& end = outline.path.elements()[2].points[2];
        expectNear({outline.path.elements()[0].points[0].x, end.x, end.y},
                   {9 + wide * 8.3, 9 + wide * 3.2 * std::cos(angle), 9 + high * 3.2 * std::sin(angle)});
        EXPECT_EQ(outline.color.alpha, 0.9);
        EXPECT_EQ(outline.state.blendMode, CanvasBlendMode::normal);
    }
    RecordingCanvas canvas;
    drawSlime(canvas, kRect, slime);
    const auto& spot = canvas.operations[1];
    EXPECT_EQ(std::tuple(spot.rect.x, spot.rect.y, spot.rect.width, spot.rect.height),
              std::tuple(9 - 3.7, 9 + 1.6, 3.5, 2.1));
    EXPECT_EQ(spot.color.alpha, 0.5);
    EXPECT_EQ(spot.state.blendMode, CanvasBlendMode::destinationOut);
    EXPECT_EQ(canvas.saveDepth(), 0u);
}

// Known dots (x, y, width, alpha) of a pulse held to -0.5 and to 1.7, where alpha reaches its cap.
TEST(IconSkinDrawingTest, DustDrawsKnownDotsWithThePulseHeldInRange) {
    auto seeds = generateDustSeeds();
    const std::tuple<double, std::size_t, std::vector<double>> known[] = {
        {-3, 0, {10.098869732626801, 10.946336798537752, 0.36835294480368358, 0.43179635738858679}},
        {9, 150, {16.817379447043287, 3.546594571582903, 1.8266471538130782, 0.94}},
    };
    for (const auto& [pulse, n, dot] : known) {
        DustState dust;
        dust.pulse.value = pulse;
        RecordingCanvas canvas;
        drawDust(canvas, kRect, kLoud, 12.5, dust, seeds);
        ASSERT_EQ(canvas.operations.size(), 200u);
        const auto& drawn = canvas.operations[n];
        SCOPED_TRACE(::testing::Message() << "pulse " << pulse << ", dot " << n);
        expectNear({drawn.rect.x, drawn.rect.y, drawn.rect.width, drawn.color.alpha}, dot);
    }
}

// Known end, first and second controls of a thick strand of a swaying, puffed dandelion, cut to
// 8.6 points, and the end of a thin one below the cut.
TEST(IconSkinDrawingTest, DandelionDrawsKnownStrandsInTwoLayers) {
    DandelionState dandelion;
    dandelion.puff.value = 0.6;
    for (std::size_t i = 0; i < dandelion.thinSway.size(); ++i)
        dandelion.thinSway[i] = {0.01 * i, 0.3 - 0.02 * i, 30, 3.5};
    for (std::size_t i = 0; i < dandelion.thickSway.size(); ++i)
        dandelion.thickSway[i] = {-0.02 * i, 0.1 * i, 30, 3.5};
    RecordingCanvas canvas;
    drawDandelion(canvas, kRect, kLoud, 7, dandelion);
    ASSERT_EQ(canvas.operations.size(), 49u);
    const auto& points = canvas.operations[40].path.elements()[1].points;
    expectNear({points[2].x, points[2].y, points[0].x, points[0].y, points[1].x, points[1].y},
               {0.4163159638496739, 9.6196725850523652, 5.9918070708240752, 9.1042847105570459,
                2.560378155495203, 9.4111350605934252});
    const auto& thin =
        canvas.operations[0].path.elements()[1].points[2]; // short of the cut: its length counts
    expectNear({thin.x, thin.y}, {15.837861419592359, 9.5499851113244247});
    for (std::size_t i = 0; i < canvas.operations.size(); ++i) {
        const auto& strand = canvas.operations[i];
        EXPECT_EQ(strand.state.lineWidth, i < 30 ? 0.34 : 0.52);
        EXPECT_EQ(strand.color.alpha, i < 30 ? 0.45 : 0.8);
        EXPECT_EQ(strand.state.lineCap, platform::CanvasLineCap::round);
    }
}

} // namespace
} // namespace vimbo::menubar
