#include "core/audio/AnalysisBands.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

using vimbo::audio::AnalysisBands;
using vimbo::audio::BinRange;
using vimbo::audio::isUsableSampleRate;

namespace {

BinRange bins(int first, int last) {
    return BinRange{first, last};
}

} // namespace

TEST(AnalysisBandsTest, WorkedRangesAt48kHz) {
    EXPECT_EQ(vimbo::audio::binWidth(48000), 23.4375f);
    const AnalysisBands bands = AnalysisBands::forSampleRate(48000);
    EXPECT_EQ(bands.bass, bins(1, 10));
    EXPECT_EQ(bands.mid, bins(10, 85));
    EXPECT_EQ(bands.treble, bins(85, 384));
    EXPECT_EQ(bands.fluxTop, 341);
    const std::vector<std::pair<int, int>> expected = {
        {1, 2},    {2, 3},     {}, // band 2 covers no bins
        {3, 4},    {4, 5},     {5, 7},     {7, 9},     {9, 11},    {11, 14},   {14, 18},
        {18, 22},  {22, 28},   {28, 35},   {35, 44},   {44, 56},   {56, 70},   {70, 88},
        {88, 110}, {110, 138}, {138, 173}, {173, 217}, {217, 271}, {271, 340}, {340, 426}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        if (i == 2) {
            EXPECT_TRUE(bands.spectrum[i].empty());
        } else {
            EXPECT_FALSE(bands.spectrum[i].empty());
            EXPECT_EQ(bands.spectrum[i], bins(expected[i].first, expected[i].second));
        }
    }
}

TEST(AnalysisBandsTest, WorkedRangesAt44100Hz) {
    EXPECT_EQ(vimbo::audio::binWidth(44100), 21.533203f);
    const AnalysisBands bands = AnalysisBands::forSampleRate(44100);
    EXPECT_EQ(bands.bass, bins(1, 11));
    EXPECT_EQ(bands.mid, bins(11, 92));
    EXPECT_EQ(bands.treble, bins(92, 417));
    EXPECT_EQ(bands.fluxTop, 371);
    EXPECT_TRUE(bands.spectrum[0].empty());
}

TEST(AnalysisBandsTest, ExtremeBinWidthsStayInsideTheSpectrum) {
    // At 1 Hz every band lies above the top bin; at the highest usable rate the flux covers bin 1 only.
    const AnalysisBands low = AnalysisBands::forSampleRate(1.0);
    EXPECT_TRUE(low.bass.empty());
    for (const BinRange& range : low.spectrum)
        EXPECT_TRUE(range.empty());
    EXPECT_EQ(low.fluxTop, 1023);
    const AnalysisBands high = AnalysisBands::forSampleRate(16384000.0);
    EXPECT_EQ(high.fluxTop, 1);
    EXPECT_TRUE(high.bass.empty());
    // Even a vanishing bin width caps instead of overflowing.
    EXPECT_EQ(vimbo::audio::bandBins(1e-30f, 20.0f, 250.0f).last, 1023);
}

TEST(AnalysisBandsTest, UsableSampleRates) {
    EXPECT_TRUE(isUsableSampleRate(8000));
    EXPECT_TRUE(isUsableSampleRate(48000));
    EXPECT_TRUE(isUsableSampleRate(1.0));
    EXPECT_TRUE(isUsableSampleRate(16384000.0));
    EXPECT_FALSE(isUsableSampleRate(16384000.5));
    EXPECT_FALSE(isUsableSampleRate(0.999));
    EXPECT_FALSE(isUsableSampleRate(0.0));
    EXPECT_FALSE(isUsableSampleRate(-48000.0));
    EXPECT_FALSE(isUsableSampleRate(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(isUsableSampleRate(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(isUsableSampleRate(1e300));
}
