#pragma once

#include "core/audio/AudioFeatures.h"

#include <array>

namespace vimbo::audio {

// Inclusive FFT bin range of one band; a band must span at least two bins, so first >= last means
// it covers no bins and always reads 0.
struct BinRange {
    int first = 1;
    int last = 0;
    bool empty() const { return first >= last; }
    friend bool operator==(const BinRange&, const BinRange&) = default;
};

// Width of one FFT bin in Hz: the sample rate in single precision divided by 2048.
float binWidth(double sampleRate);
// Bins of the band lo...hi Hz: max(trunc(lo / binHz), 1) ... min(trunc(hi / binHz), 1023).
BinRange bandBins(float binHz, float lo, float hi);
// Last bin of the spectral flux sum (from bin 1): min(trunc(8000 / binHz), 1023).
int fluxTopBin(float binHz);

// The analysis needs a finite rate with a non-empty flux range (at most 16384000 Hz, where binHz is
// 8000); below 1 Hz the bin width degenerates toward zero. Samples at any other rate are unusable.
bool isUsableSampleRate(double sampleRate);

// Every bin range the analysis uses at one sample rate; worked out once per rate, not per frame.
struct AnalysisBands {
    BinRange bass;
    BinRange mid;
    BinRange treble;
    std::array<BinRange, kSpectrumBands> spectrum;
    int fluxTop = 0;

    static AnalysisBands forSampleRate(double sampleRate);
};

} // namespace vimbo::audio
