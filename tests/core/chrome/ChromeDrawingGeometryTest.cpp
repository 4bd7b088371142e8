#include "core/chrome/GlassEdgeRings.h"
#include "core/chrome/MiniZoomFrame.h"
#include "core/chrome/TitleBarButtonLook.h"
#include "core/chrome/TitleBarLayout.h"

#include <gtest/gtest.h>

using namespace vimbo::chrome;
using vimbo::platform::Rect;

TEST(TitleBarLayoutTest, CloseButtonSideFollowsTheDesktopLayout) {
    EXPECT_EQ(titleBarSide("close,minimize,maximize:menu"), TitleBarSide::left);
    EXPECT_EQ(titleBarSide("menu:minimize,maximize,close"), TitleBarSide::right);
    EXPECT_EQ(titleBarSide("appmenu:close"), TitleBarSide::right);
    EXPECT_EQ(titleBarSide("close"), TitleBarSide::left); // no colon: everything on the left
    EXPECT_EQ(titleBarSide(""), TitleBarSide::right);
}

TEST(TitleBarLayoutTest, MiniLightSitsOnePitchPastZoomOnEitherSide) {
    auto left = TitleBarButtonFrames::in(500, TitleBarSide::left);
    EXPECT_EQ(left.close, (Rect{12, 11, 14, 14}));
    EXPECT_EQ(left.zoom, (Rect{52, 11, 14, 14}));
    EXPECT_EQ(left.miniLight, (Rect{72, 11, 14, 14}));
    EXPECT_EQ(left.row(true), (Rect{12, 11, 74, 14}));
    EXPECT_EQ(left.row(false), (Rect{12, 11, 54, 14}));

    auto right = TitleBarButtonFrames::in(500, TitleBarSide::right);
    EXPECT_EQ(right.close, (Rect{474, 11, 14, 14}));
    EXPECT_EQ(right.miniLight, (Rect{414, 11, 14, 14}));
    EXPECT_EQ(right.row(true), (Rect{414, 11, 74, 14}));
}

TEST(TitleBarLayoutTest, ButtonAtFindsOnlyShownButtons) {
    auto frames = TitleBarButtonFrames::in(500, TitleBarSide::left);
    EXPECT_EQ(frames.buttonAt(12, 11, false), TitleBarButton::close);
    EXPECT_EQ(frames.buttonAt(45, 24.9, false), TitleBarButton::minimize);
    EXPECT_EQ(frames.buttonAt(26, 18, false), std::nullopt); // the gap between close and minimize
    EXPECT_EQ(frames.buttonAt(75, 18, false), std::nullopt);
    EXPECT_EQ(frames.buttonAt(75, 18, true), TitleBarButton::miniLight);
}

TEST(TitleBarButtonLookTest, FillsFollowFocusPressIdleAndAppearance) {
    auto look = [](TitleBarButton button, TitleBarButtonState state) {
        return TitleBarButtonLook::of(button, state);
    };
    auto blue = look(TitleBarButton::miniLight, {});
    EXPECT_EQ(blue.base, (Rgb{0.298, 0.608, 0.961}));
    EXPECT_DOUBLE_EQ(blue.rim.blue, 0.961 * 0.88);
    EXPECT_DOUBLE_EQ(look(TitleBarButton::miniLight, {.pressed = true}).base.red, 0.298 * 0.78);
    EXPECT_EQ(look(TitleBarButton::miniLight, {.windowActive = false, .idleFading = true}).base,
              (Rgb{0.24, 0.24, 0.24}));
    // The idle fill is the mini light's alone; the standard buttons keep their colours.
    EXPECT_EQ(look(TitleBarButton::close, {.idleFading = true}).base, (Rgb{1.0, 0.373, 0.341}));
    EXPECT_EQ(look(TitleBarButton::zoom, {.windowActive = false}).base, (Rgb{0.863, 0.863, 0.863}));
    EXPECT_EQ(look(TitleBarButton::zoom, {.windowActive = false, .dark = true}).base,
              (Rgb{0.137, 0.137, 0.137}));
}

TEST(TitleBarButtonLookTest, MiniLightGlyphIsARoundedSquareOnWholePixels) {
    Rect oval = buttonOval({72, 11, 14, 14});
    EXPECT_EQ(oval, (Rect{71.75, 10.75, 14.5, 14.5}));
    // side round(5.8) = 6; origin round(79 - 3) and round(18 - 3).
    EXPECT_EQ(miniLightGlyph(oval), (Rect{76, 15, 6, 6}));
    // Halves round away from zero: side round(2.5) = 3.
    EXPECT_EQ(miniLightGlyph({0, 0, 6.25, 6.25}).width, 3);
}

TEST(GlassEdgeRingsTest, RimHasSixteenHighlightsAndFourShadowsAboveThirtyTwo) {
    EXPECT_TRUE(glassEdgeRings(32, 200, false).empty());
    EXPECT_TRUE(glassEdgeRings(200, 32, false).empty());
    auto light = glassEdgeRings(33, 33, false);
    ASSERT_EQ(light.size(), 20u);
    EXPECT_DOUBLE_EQ(light[0].outerInset, 0.5);
    EXPECT_DOUBLE_EQ(light[0].stops[0].alpha, 0.38);
    EXPECT_DOUBLE_EQ(light[0].stops[1].alpha, 0.38 * 0.46);
    EXPECT_DOUBLE_EQ(light[0].stops[2].alpha, 0.38 * 0.32);
    EXPECT_DOUBLE_EQ(light[15].outerInset, 15.5);
    EXPECT_FALSE(light[16].white);
    EXPECT_DOUBLE_EQ(light[16].outerInset, 0.5);
    EXPECT_DOUBLE_EQ(light[16].stops[1].location, 0.48);
    EXPECT_DOUBLE_EQ(light[19].stops[2].alpha, 0.012);

    auto dark = glassEdgeRings(100, 100, true);
    EXPECT_DOUBLE_EQ(dark[4].stops[0].alpha, 0.072); // the first five keep their strength
    EXPECT_DOUBLE_EQ(dark[5].stops[0].alpha, 0.054 * 0.72);
    EXPECT_DOUBLE_EQ(dark[16].stops[2].alpha, 0.06); // shadows are the same in both
}

TEST(MiniZoomFrameTest, GrowsFromTheTopLeftAndStaysInTheWorkArea) {
    Rect work{0, 30, 1280, 770};
    EXPECT_EQ(miniZoomFrame({100, 200, 260, 260}, work), (Rect{100, 200, 340, 340}));
    // Near the bottom-right corner it is pushed back up and left.
    EXPECT_EQ(miniZoomFrame({1100, 650, 260, 260}, work), (Rect{940, 460, 340, 340}));
    // Above the work area (under a top panel) it moves down to it.
    EXPECT_EQ(miniZoomFrame({-20, 0, 260, 260}, work), (Rect{0, 30, 340, 340}));
    // Too small a work area: its top-left corner.
    EXPECT_EQ(miniZoomFrame({50, 50, 260, 260}, {10, 20, 200, 200}), (Rect{10, 20, 340, 340}));
}
