#include "core/menubar/IconSkinDrawing.h"
#include "core/menubar/MenuBarIconRenderer.h"
#include "linux/CairoCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

namespace vimbo::linux {
namespace {

using platform::CanvasColor;
using platform::CanvasRect;

// Real Cairo pixels of the 18-point icon at twice its size, y upwards in points.
class IconDrawingTest : public ::testing::Test {
  protected:
    void draw(std::function<void(platform::Canvas&, CanvasRect)> procedure) {
        canvas.render(platform::TemplateImage{18, 18, std::move(procedure)});
    }
    void drawSlime(const menubar::SlimeState& slime) {
        draw([&](platform::Canvas& c, CanvasRect r) { menubar::drawSlime(c, r, slime); });
    }
    double alphaAtPoint(double x, double y) const {
        return canvas.alphaAt(static_cast<int>(x * 2), static_cast<int>((18 - y) * 2));
    }
    // The farthest visible pixel from the centre and all alpha, in points; the strongest alpha.
    struct Pixels {
        double reach = 0, ink = 0, strongest = 0;
    };
    Pixels pixels() const {
        Pixels p;
        for (int y = 0; y < canvas.pixelHeight(); ++y)
            for (int x = 0; x < canvas.pixelWidth(); ++x) {
                double alpha = canvas.alphaAt(x, y);
                p.ink += alpha / 4;
                p.strongest = std::max(p.strongest, alpha);
                if (alpha > 0.02)
                    p.reach = std::max(p.reach, std::hypot((x + 0.5) / 2 - 9, (y + 0.5) / 2 - 9));
            }
        return p;
    }
    double reach() const { return pixels().reach; }

    CairoCanvas canvas{18, 18, 2, CanvasColor::black(1)};
};

TEST_F(IconDrawingTest, SlimeAtRestIsABlobOfPointNineWithAHalfSpot) {
    drawSlime({});
    EXPECT_EQ(canvas.pixelWidth(), 36);
    EXPECT_NEAR(alphaAtPoint(12.25, 6.75), 0.9, 0.005);
    EXPECT_NEAR(alphaAtPoint(9.25, 4.25), 0.9, 0.005);
    // The spot: from 3.7 left of and 1.6 above the centre, 3.5 wide and 2.1 high.
    EXPECT_NEAR(alphaAtPoint(7.05, 11.65), 0.45, 0.01);
    // Radius 7.6, plus spline bulge and antialiasing.
    EXPECT_EQ(alphaAtPoint(0.25, 0.25), 0);
    EXPECT_LT(reach(), 7.6 + 0.8);
    EXPECT_GT(reach(), 7.2);
}

TEST_F(IconDrawingTest, SlimeRadiiAndSquashAreClampedWhenDrawn) {
    auto slimeOf = [](double radius, double squash) {
        menubar::SlimeState slime;
        for (auto& spring : slime.radii)
            spring.value = radius;
        slime.squash.value = squash;
        return slime;
    };
    drawSlime(slimeOf(40, 9));
    double huge = reach();
    drawSlime(slimeOf(8.3, 1.4));
    EXPECT_EQ(huge, reach());
    drawSlime(slimeOf(-5, 0));
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

TEST_F(IconDrawingTest, DustStaysInItsCloudAndUnderItsAlphaCap) {
    menubar::MenuBarIconRenderer renderer;
    double farthest = 0;
    for (int frame = 0; frame < 120; ++frame) {
        canvas.render(
            renderer.image(menubar::MenuBarSkin::dust, {1, 1, 1, 1, 1, frame % 20 == 0 ? 1.0 : 0}, 1.0 / 60));
        farthest = std::max(farthest, reach());
    }
    // Cloud factor at most 8.9 on a unit ball plus jitter; the largest dot is under a point.
    EXPECT_LT(farthest, 8.9 * (1 + 0.16 + 0.05 + 0.14 * 1.7) + 1.0);
    EXPECT_GT(farthest, 6);

    // One seed at the front edge with every alpha term high.
    menubar::DustState dust;
    dust.pulse.value = 5;
    std::vector<menubar::DustSeed> seeds{{0.0, 1.0, 0.0, 0.5, 0, true}};
    draw([&](platform::Canvas& c, CanvasRect r) {
        menubar::drawDust(c, r, {0, 0, 0, 10, 0, 0}, 0, dust, seeds);
    });
    EXPECT_NEAR(pixels().strongest, 0.94, 0.005);
}

TEST_F(IconDrawingTest, DiscsCarryTheirAreaWhateverTheirSize) {
    // Small discs are drawn by the canvas itself, larger ones through Cairo's own fill.
    const std::tuple<double, double, double> discs[] = {{0.3, 0.8, 0.03}, {1.5, 0.8, 0.1}, {3.0, 0.5, 0.15}};
    for (auto [radius, alpha, tolerance] : discs) {
        draw([&](platform::Canvas& c, CanvasRect) {
            c.fillEllipse({7.3 - radius, 9.1 - radius, 2 * radius, 2 * radius}, CanvasColor::black(alpha));
        });
        EXPECT_NEAR(pixels().ink, std::numbers::pi * radius * radius * alpha, tolerance) << radius;
        if (radius > 1) {
            EXPECT_NEAR(alphaAtPoint(7.3, 9.1), alpha, 0.005) << radius;
        }
    }
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
    // 8.6 along, a bend of at most 0.9 across, half a line width and a pixel of antialiasing.
    EXPECT_LT(reach(), std::hypot(8.6, 0.9) + 0.26 + 0.75);
    EXPECT_GT(reach(), 8.3);
}

} // namespace
} // namespace vimbo::linux
