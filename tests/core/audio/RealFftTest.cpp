#include "core/audio/RealFft.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <numbers>

using vimbo::audio::RealFft;

TEST(RealFftTest, SquaredMagnitudesAreTwiceThePlainDft) {
    RealFft fft;
    auto input = fft.input();
    for (std::size_t i = 0; i < RealFft::kLength; ++i) {
        const double t = static_cast<double>(i);
        input[i] = static_cast<float>(0.6 * std::sin(2 * std::numbers::pi * 37.0 * t / 2048.0) +
                                      0.3 * std::cos(2 * std::numbers::pi * 300.5 * t / 2048.0) + 0.05);
    }
    std::array<double, RealFft::kLength> x;
    for (std::size_t i = 0; i < RealFft::kLength; ++i)
        x[i] = input[i];
    fft.execute();
    std::array<float, RealFft::kBins> squared;
    std::array<float, RealFft::kBins> magnitude;
    fft.magnitudes(squared, magnitude);

    auto dft = [&](std::size_t k) {
        std::complex<double> sum = 0;
        for (std::size_t n = 0; n < RealFft::kLength; ++n) {
            const double angle =
                -2.0 * std::numbers::pi * static_cast<double>((k * n) % RealFft::kLength) / 2048.0;
            sum += x[n] * std::polar(1.0, angle);
        }
        return sum;
    };
    for (std::size_t k = 1; k < RealFft::kBins; ++k) {
        SCOPED_TRACE(k);
        const double expected = std::norm(2.0 * dft(k));
        EXPECT_NEAR(squared[k], expected, 1e-4 * expected + 1e-3);
        EXPECT_EQ(magnitude[k], std::sqrt(squared[k]));
    }
    EXPECT_NEAR(squared[0], std::norm(2.0 * dft(0)) + std::norm(2.0 * dft(1024)), 1e-2);
}
