#include "core/audio/RealFft.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <numbers>

using vimbo::audio::RealFft;

TEST(RealFftTest, SquaredMagnitudesAreTwiceTheDirectDft) {
    constexpr std::size_t n = RealFft::kLength;
    RealFft fft;
    std::array<double, n> x;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = 2 * std::numbers::pi * static_cast<double>(i) / n;
        fft.input()[i] = static_cast<float>(0.6 * std::sin(37.0 * t) + 0.3 * std::cos(300.5 * t) + 0.05);
        x[i] = fft.input()[i];
    }
    fft.execute();
    std::array<float, RealFft::kBins> squared, magnitude;
    fft.magnitudes(squared, magnitude);

    auto dft = [&](std::size_t k) {
        std::complex<double> sum = 0;
        for (std::size_t i = 0; i < n; ++i)
            sum += x[i] * std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>((k * i) % n) / n);
        return sum;
    };
    for (std::size_t k = 1; k < RealFft::kBins; ++k) {
        const double expected = std::norm(2.0 * dft(k));
        EXPECT_NEAR(squared[k], expected, 1e-4 * expected + 1e-3) << k;
        EXPECT_EQ(magnitude[k], std::sqrt(squared[k])) << k;
    }
    // Bin 0 packs the DC and Nyquist terms together.
    EXPECT_NEAR(squared[0], std::norm(2.0 * dft(0)) + std::norm(2.0 * dft(n / 2)), 1e-2);
}
