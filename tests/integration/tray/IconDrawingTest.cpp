#include "core/menubar/IconSkinDrawing.h"
#include "linux/CairoCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

namespace vimbo::linuxdesktop {
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
    // The farthest visible pixel from the centre and all alpha, in points.
    struct Pixels {
        double reach = 0, ink = 0;
    };
    Pixels pixels() const {
        Pixels p;
        for (int y = 0; y < canvas.pixelHeight(); ++y)
            for (int x = 0; x < canvas.pixelWidth(); ++x) {
                double alpha = canvas.alphaAt(x, y);
                p.ink += alpha / 4;
                if (alpha > 0.02)
                    p.reach = std::max(p.reach, std::hypot((x + 0.5) / 2 - 9, (y + 0.5) / 2 - 9));
            }
        return p;
    }
    double reach() const { return pixels().reach; }

    CairoCanvas canvas{18, 18, 2, CanvasColor::black(1)};
};

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

} // namespace
} // namespace vimbo::linuxdesktop
