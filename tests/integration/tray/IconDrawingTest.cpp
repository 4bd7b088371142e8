#include "linux/CairoCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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
    double alphaAtPoint(double x, double y) const {
        return canvas.alphaAt(static_cast<int>(x * 2), static_cast<int>((18 - y) * 2));
    }
    // All alpha, in square points.
    double ink() const {
        double sum = 0;
        for (int y = 0; y < canvas.pixelHeight(); ++y)
            for (int x = 0; x < canvas.pixelWidth(); ++x)
                sum += canvas.alphaAt(x, y) / 4;
        return sum;
    }

    CairoCanvas canvas{18, 18, 2, CanvasColor::black(1)};
};

TEST_F(IconDrawingTest, DiscsCarryTheirAreaWhateverTheirSize) {
    // Small discs are drawn by the canvas itself, larger ones through Cairo's own fill.
    const std::tuple<double, double, double> discs[] = {{0.3, 0.8, 0.03}, {1.5, 0.8, 0.1}, {3.0, 0.5, 0.15}};
    for (auto [radius, alpha, tolerance] : discs) {
        draw([&](platform::Canvas& c, CanvasRect) {
            c.fillEllipse({7.3 - radius, 9.1 - radius, 2 * radius, 2 * radius}, CanvasColor::black(alpha));
        });
        EXPECT_NEAR(ink(), std::numbers::pi * radius * radius * alpha, tolerance) << radius;
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
