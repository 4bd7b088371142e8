#include "core/audio/AnalysisBands.h"

#include <gtest/gtest.h>

using namespace vimbo::audio;

TEST(AnalysisBandsTest, WorkedRangesAt48kHzAnd44100Hz) {
    struct Case {
        double rate;
        BinRange bass, mid, treble;
        int fluxTop;
    };
    for (const Case& c :
         {Case{48000, {1, 10}, {10, 85}, {85, 384}, 341}, Case{44100, {1, 11}, {11, 92}, {92, 417}, 371}}) {
        SCOPED_TRACE(c.rate);
        const AnalysisBands bands = AnalysisBands::forSampleRate(c.rate);
        EXPECT_EQ(bands.bass, c.bass);
        EXPECT_EQ(bands.mid, c.mid);
        EXPECT_EQ(bands.treble, c.treble);
        EXPECT_EQ(bands.fluxTop, c.fluxTop);
    }
    const AnalysisBands bands = AnalysisBands::forSampleRate(48000);
    EXPECT_EQ(bands.spectrum[0], (BinRange{1, 2}));
    EXPECT_TRUE(bands.spectrum[2].empty()); // no bin falls in the third band
    EXPECT_EQ(bands.spectrum[23], (BinRange{340, 426}));
    EXPECT_TRUE(AnalysisBands::forSampleRate(44100).spectrum[0].empty());
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
