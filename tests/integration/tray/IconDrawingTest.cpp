#include "core/menubar/IconSkinDrawing.h"
#include "core/menubar/MenuBarIconRenderer.h"
#include "linux/CairoCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vimbo::linux {
namespace {

using menubar::MenuBarAudioFrame;
using platform::CanvasColor;
using platform::CanvasRect;
using platform::TemplateImage;

constexpr CanvasRect kIconRect{0, 0, 18, 18};

class IconDrawingTest : public ::testing::Test {
  protected:
    // Alpha at a point of the icon (y upwards), read from the 2x image.
    double alphaAtPoint(double x, double y) const {
        return canvas.alphaAt(static_cast<int>(x * 2), static_cast<int>((18 - y) * 2));
    }
    // Largest distance from the centre, in points, of any pixel with visible alpha.
    double reach() const {
        double farthest = 0;
        for (int y = 0; y < canvas.pixelHeight(); ++y)
            for (int x = 0; x < canvas.pixelWidth(); ++x)
                if (canvas.alphaAt(x, y) > 0.02)
                    farthest = std::max(farthest, std::hypot((x + 0.5) / 2 - 9, (y + 0.5) / 2 - 9));
        return farthest;
    }
    void draw(std::function<void(platform::Canvas&, CanvasRect)> procedure) {
        canvas.render(TemplateImage{18, 18, std::move(procedure)});
    }

    CairoCanvas canvas{18, 18, 2, CanvasColor::black(1)};
};

TEST_F(IconDrawingTest, SlimeAtRestIsOpaqueBlobWithLighterSpot) {
    menubar::SlimeState slime;
    draw([&](platform::Canvas& c, CanvasRect r) { menubar::drawSlime(c, r, slime); });
    EXPECT_EQ(canvas.pixelWidth(), 36);
    EXPECT_NEAR(alphaAtPoint(12.25, 6.75), 0.9, 0.005);
    EXPECT_NEAR(alphaAtPoint(9.25, 4.25), 0.9, 0.005);
    // The spot: from 3.7 left of and 1.6 above the centre, 3.5 wide and 2.1 high.
    EXPECT_NEAR(alphaAtPoint(7.05, 11.65), 0.45, 0.01);
    // Outside the radius of 7.6 (plus spline bulge and antialiasing) nothing is drawn.
    EXPECT_EQ(alphaAtPoint(0.25, 0.25), 0);
    EXPECT_LT(reach(), 7.6 + 0.8);
    EXPECT_GT(reach(), 7.2);
}

TEST_F(IconDrawingTest, SlimeRadiiAndSquashAreClampedWhenDrawn) {
    menubar::SlimeState huge;
    for (auto& radius : huge.radii)
        radius.value = 40;
    huge.squash.value = 9;
    draw([&](platform::Canvas& c, CanvasRect r) { menubar::drawSlime(c, r, huge); });
    double hugeReach = reach();
    menubar::SlimeState widest;
    for (auto& radius : widest.radii)
        radius.value = 8.3;
    widest.squash.value = 1.4;
    draw([&](platform::Canvas& c, CanvasRect r) { menubar::drawSlime(c, r, widest); });
    EXPECT_EQ(hugeReach, reach());

    menubar::SlimeState tiny;
    for (auto& radius : tiny.radii)
        radius.value = -5;
    draw([&](platform::Canvas& c, CanvasRect r) { menubar::drawSlime(c, r, tiny); });
    EXPECT_LT(reach(), 3.2 + 0.6);
    EXPECT_GT(reach(), 3.0);
}

TEST_F(IconDrawingTest, FewerThanThreePointsDrawNothing) {
    draw([](platform::Canvas& c, CanvasRect) {
        c.fillPath(menubar::smoothClosedPath({{2, 2}, {16, 16}}), CanvasColor::black(1));
    });
    EXPECT_EQ(reach(), 0);
    draw([](platform::Canvas& c, CanvasRect) {
        c.fillPath(menubar::smoothClosedPath({{2, 2}, {16, 2}, {9, 16}}), CanvasColor::black(1));
    });
    EXPECT_GT(alphaAtPoint(9, 6), 0.99);
}

TEST_F(IconDrawingTest, DustStaysInsideItsCloud) {
    menubar::MenuBarIconRenderer renderer;
    MenuBarAudioFrame loud{1, 1, 1, 1, 1, 1};
    double farthest = 0;
    for (int frame = 0; frame < 120; ++frame) {
        MenuBarAudioFrame audio = loud;
        audio.beat = frame % 20 == 0 ? 1 : 0;
        canvas.render(renderer.image(menubar::MenuBarSkin::dust, audio, 1.0 / 60));
        farthest = std::max(farthest, reach());
    }
    // Cloud factor at most 8.9 on a unit ball plus jitter; the largest dot is under a point.
    EXPECT_LT(farthest, 8.9 * (1 + 0.16 + 0.05 + 0.14 * 1.7) + 1.0);
    EXPECT_GT(farthest, 6);
}

TEST_F(IconDrawingTest, LonelyDustDotNeverExceedsItsAlphaCap) {
    // One seed at the front edge with every alpha term high: the cap of 0.94 shows in the pixels.
    menubar::DustState dust;
    dust.pulse.value = 5;
    std::vector<menubar::DustSeed> seeds{{0.0, 1.0, 0.0, 0.5, 0, true}};
    draw([&](platform::Canvas& c, CanvasRect r) {
        menubar::drawDust(c, r, {0, 0, 0, 10, 0, 0}, 0, dust, seeds);
    });
    double strongest = 0;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x)
            strongest = std::max(strongest, canvas.alphaAt(x, y));
    EXPECT_NEAR(strongest, 0.94, 0.005);
}

TEST_F(IconDrawingTest, DiscsCarryTheirAreaWhateverTheirSize) {
    auto inkOf = [&](double radius, double alpha) {
        draw([&](platform::Canvas& c, CanvasRect) {
            c.fillEllipse({7.3 - radius, 9.1 - radius, 2 * radius, 2 * radius}, CanvasColor::black(alpha));
        });
        double ink = 0;
        for (int y = 0; y < 36; ++y)
            for (int x = 0; x < 36; ++x)
                ink += canvas.alphaAt(x, y);
        return ink / 4; // in square points
    };
    const double pi = 3.141592653589793;
    EXPECT_NEAR(inkOf(0.3, 0.8), pi * 0.09 * 0.8, 0.03);
    EXPECT_NEAR(inkOf(1.5, 0.8), pi * 2.25 * 0.8, 0.1);
    EXPECT_NEAR(alphaAtPoint(7.3, 9.1), 0.8, 0.005);
    // Larger discs go through Cairo's own fill and measure the same way.
    EXPECT_NEAR(inkOf(3, 0.5), pi * 9 * 0.5, 0.15);
    // A disc half off the canvas draws its visible half only.
    draw([](platform::Canvas& c, CanvasRect) { c.fillEllipse({-1, 8, 2, 2}, CanvasColor::black(1)); });
    EXPECT_NEAR(alphaAtPoint(0.25, 9.0), 1.0, 0.01);
}

TEST_F(IconDrawingTest, DandelionStrandsStopAtTheirLengthCap) {
    menubar::DandelionState dandelion;
    dandelion.puff.value = 50;
    draw([&](platform::Canvas& c, CanvasRect r) {
        menubar::drawParasite(c, r, {5, 5, 5, 5, 5, 5}, 3, dandelion);
    });
    // 8.6 along the strand, a bend of at most 0.9 across it, half a line width and a pixel of
    // antialiasing.
    EXPECT_LT(reach(), std::hypot(8.6, 0.9) + 0.26 + 0.75);
    EXPECT_GT(reach(), 8.3);
}

TEST_F(IconDrawingTest, OneTimesScaleAndTintKeepTheShape) {
    CairoCanvas small(18, 18, 1, CanvasColor{1, 1, 1, 1});
    menubar::MenuBarIconRenderer renderer;
    small.render(renderer.image(menubar::MenuBarSkin::slime, {}, 0));
    EXPECT_EQ(small.pixelWidth(), 18);
    EXPECT_NEAR(small.alphaAt(12, 11), 0.9, 0.005);
    auto bytes = small.straightArgbBytes();
    ASSERT_EQ(bytes.size(), 18u * 18u * 4u);
    std::size_t index = (11 * 18 + 12) * 4;
    EXPECT_EQ(bytes[index], 230); // alpha 0.9 first, then straight white
    EXPECT_EQ(bytes[index + 1], 255);
    EXPECT_EQ(bytes[index + 2], 255);
    EXPECT_EQ(bytes[index + 3], 255);
}

} // namespace
} // namespace vimbo::linux
