#include "core/audio/AnalysisBands.h"

#include <gtest/gtest.h>

using namespace vimbo::audio;

TEST(AnalysisBandsTest, WorkedRangesAt48kHz) {
    const AnalysisBands bands = AnalysisBands::forSampleRate(48000);
    EXPECT_EQ(bands.bass, (BinRange{1, 10}));
    EXPECT_EQ(bands.mid, (BinRange{10, 85}));
    EXPECT_EQ(bands.treble, (BinRange{85, 384}));
    EXPECT_EQ(bands.fluxTop, 341);
    EXPECT_EQ(bands.spectrum[0], (BinRange{1, 2}));
    EXPECT_TRUE(bands.spectrum[2].empty()); // no bin falls in the third band
    EXPECT_EQ(bands.spectrum[23], (BinRange{340, 426}));
}

TEST(AnalysisBandsTest, ExtremeBinWidthsStayInsideTheSpectrum) {
    // At 1 Hz every band lies above the top bin; at the highest usable rate the flux covers bin 1 only.
    const AnalysisBands low = AnalysisBands::forSampleRate(1.0);
    EXPECT_TRUE(low.bass.empty());
    for (const BinRange& range : low.spectrum)
        EXPECT_TRUE(range.empty());
    const AnalysisBands high = AnalysisBands::forSampleRate(16384000.0);
    EXPECT_EQ(high.fluxTop, 1);
    EXPECT_EQ(bandBins(1e-30f, 20.0f, 250.0f).last, 1023); // a vanishing bin width caps, never overflows
}
