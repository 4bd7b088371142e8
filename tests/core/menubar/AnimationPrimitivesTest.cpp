#include "core/menubar/DustSeed.h"
#include "core/menubar/OrganicNoise.h"
#include "core/menubar/Spring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace vimbo::menubar {
namespace {

TEST(SpringTest, StepsSemiImplicitlyNeverBackwardsAndAtMostAFifteenth) {
    Spring still{1.5, -2, 70, 9};
    for (double dt : {0.0, -0.1, std::numeric_limits<double>::quiet_NaN()})
        still.update(5, dt);
    EXPECT_EQ(still.value, 1.5);
    EXPECT_EQ(still.velocity, -2);

    Spring spring{0, 1, 60, 4.5};
    spring.update(2, 0.01);
    double velocity = 1 + 0.01 * (60 * 2.0 - 4.5 * 1);
    EXPECT_EQ(spring.velocity, velocity);
    EXPECT_EQ(spring.value, 0.01 * velocity); // moved with the new velocity

    Spring longStep{7.6, 0.3, 70, 9};
    Spring cut = longStep;
    longStep.update(8, 0.5);
    cut.update(8, 1.0 / 15.0);
    EXPECT_EQ(longStep.value, cut.value);
    EXPECT_EQ(longStep.velocity, cut.velocity);
}

TEST(OrganicNoiseTest, KnownValuesAndUnusableInputs) {
    const struct {
        std::uint64_t seed;
        double x;
        double value;
    } cases[] = {{5315296, -0.25, 0.08820206079338105}, {885239, 0, 0.13487892861516326}};
    for (const auto& c : cases)
        EXPECT_EQ(OrganicNoise(c.seed).value(c.x), c.value) << c.seed << " at " << c.x;

    OrganicNoise noise(1984116);
    double far = noise.value(4.0e18); // wrapping cell arithmetic, no overflow trap
    EXPECT_GE(far, -1.0);
    EXPECT_LT(far, 1.0);
    // Inputs no cell index can hold give the value at 0.
    EXPECT_EQ(noise.value(std::numeric_limits<double>::quiet_NaN()), noise.value(0));
    EXPECT_EQ(noise.value(1e300), noise.value(0));
}

TEST(DustSeedTest, KnownSeedsAndShellLayout) {
    auto seeds = generateDustSeeds();
    ASSERT_EQ(seeds.size(), 200u);
    auto fields = [](const DustSeed& s) { return std::tuple{s.x, s.y, s.z, s.size, s.phase, s.shell}; };
    EXPECT_EQ(fields(seeds[120]), std::tuple(-0.41660261677407384, 0.03460124251096171, -0.2689530732722107,
                                             0.37353548922679614, 4.830159818158571, false));
    for (std::size_t n = 0; n < seeds.size(); ++n) {
        double radius = std::hypot(seeds[n].x, seeds[n].y, seeds[n].z);
        EXPECT_EQ(seeds[n].shell, n < 120);
        EXPECT_GE(radius, n < 120 ? 0.88 - 1e-12 : 0.0);
        EXPECT_LE(radius, 1.0 + 1e-12);
    }
}

} // namespace
} // namespace vimbo::menubar
