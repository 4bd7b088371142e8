#include "core/menubar/DustSeed.h"
#include "core/menubar/OrganicNoise.h"
#include "core/menubar/Spring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vimbo::menubar {
namespace {

TEST(SpringTest, NoStepForZeroOrNegativeTime) {
    Spring spring{1.5, -2, 70, 9};
    spring.update(5, 0);
    spring.update(5, -0.1);
    spring.update(5, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(spring.value, 1.5);
    EXPECT_EQ(spring.velocity, -2);
}

TEST(SpringTest, SemiImplicitStepUsesNewVelocity) {
    Spring spring{0, 1, 60, 4.5};
    spring.update(2, 0.01);
    double velocity = 1 + 0.01 * (60 * 2.0 - 4.5 * 1);
    EXPECT_EQ(spring.velocity, velocity);
    EXPECT_EQ(spring.value, 0 + 0.01 * velocity);
}

TEST(SpringTest, LongStepIsCutToOneFifteenth) {
    Spring a{7.6, 0.3, 70, 9};
    Spring b = a;
    a.update(8, 0.5);
    b.update(8, 1.0 / 15.0);
    EXPECT_EQ(a.value, b.value);
    EXPECT_EQ(a.velocity, b.velocity);
}

TEST(OrganicNoiseTest, KnownValues) {
    OrganicNoise noise(5315296);
    EXPECT_EQ(noise.value(0), 0.050773440918965074);
    EXPECT_EQ(noise.value(0.5), -0.41935805391728287);
    EXPECT_EQ(noise.value(1), -0.8894895487535308);
    EXPECT_EQ(noise.value(-0.25), 0.08820206079338105);
    EXPECT_EQ(OrganicNoise(885239).value(0), 0.13487892861516326);
}

TEST(OrganicNoiseTest, IntegerInputsGiveLatticeValuesAndFadeIsSmooth) {
    OrganicNoise noise(1984116);
    for (int cell = -3; cell <= 3; ++cell) {
        double at = noise.value(cell);
        // Flat at the lattice: values just beside a cell barely move (quintic fade).
        EXPECT_NEAR(noise.value(cell + 1e-4), at, 1e-9);
        EXPECT_GE(at, -1.0);
        EXPECT_LT(at, 1.0);
    }
    // Far inputs stay defined (wrapping arithmetic, no overflow trap).
    double far = noise.value(4.0e18);
    EXPECT_GE(far, -1.0);
    EXPECT_LT(far, 1.0);
    // Inputs no cell index can hold give the value at 0 instead of undefined behaviour.
    EXPECT_EQ(noise.value(std::numeric_limits<double>::quiet_NaN()), noise.value(0));
    EXPECT_EQ(noise.value(1e300), noise.value(0));
}

TEST(DustSeedTest, KnownSeedsAndLayout) {
    auto seeds = generateDustSeeds();
    ASSERT_EQ(seeds.size(), 200u);
    const DustSeed& first = seeds[0];
    EXPECT_EQ(first.x, 0.7959351634569694);
    EXPECT_EQ(first.y, 0.3305181880175643);
    EXPECT_EQ(first.z, -0.3286333267114825);
    EXPECT_EQ(first.size, 0.2673197949213692);
    EXPECT_EQ(first.phase, 3.1960543864581092);
    EXPECT_TRUE(first.shell);
    const DustSeed& interior = seeds[120];
    EXPECT_EQ(interior.x, -0.41660261677407384);
    EXPECT_EQ(interior.y, 0.03460124251096171);
    EXPECT_EQ(interior.z, -0.2689530732722107);
    EXPECT_EQ(interior.size, 0.37353548922679614);
    EXPECT_EQ(interior.phase, 4.830159818158571);
    EXPECT_FALSE(interior.shell);
    for (std::size_t n = 0; n < seeds.size(); ++n) {
        double radius =
            std::sqrt(seeds[n].x * seeds[n].x + seeds[n].y * seeds[n].y + seeds[n].z * seeds[n].z);
        EXPECT_EQ(seeds[n].shell, n < 120);
        if (n < 120) {
            EXPECT_GE(radius, 0.88 - 1e-12);
        }
        EXPECT_LE(radius, 1.0 + 1e-12);
    }
}

} // namespace
} // namespace vimbo::menubar
