#include "core/audio/AnalysisBands.h"

#include <algorithm>
#include <cmath>

namespace vimbo::audio {

namespace {

constexpr int kTopBin = 1023;
// 10000 / 45 in single precision, so that 45 * R is 10000 Hz.
constexpr float kSpectrumRatio = 222.22223f;
constexpr float kSpectrumLow = 45.0f;

// trunc(hz / binHz) capped at `cap`, computed in float so a tiny bin width cannot overflow an int.
int truncatedBin(float hz, float binHz, int cap) {
    return static_cast<int>(std::min(std::trunc(hz / binHz), static_cast<float>(cap)));
}

} // namespace

float binWidth(double sampleRate) {
    return static_cast<float>(sampleRate) * 0.00048828125f;
}

BinRange bandBins(float binHz, float lo, float hi) {
    return BinRange{std::max(truncatedBin(lo, binHz, kTopBin + 1), 1), truncatedBin(hi, binHz, kTopBin)};
}

int fluxTopBin(float binHz) {
    return truncatedBin(8000.0f, binHz, kTopBin);
}

bool isUsableSampleRate(double sampleRate) {
    return std::isfinite(sampleRate) && sampleRate >= 1.0 && sampleRate <= 16384000.0;
}

AnalysisBands AnalysisBands::forSampleRate(double sampleRate) {
    const float binHz = binWidth(sampleRate);
    AnalysisBands bands;
    bands.bass = bandBins(binHz, 20.0f, 250.0f);
    bands.mid = bandBins(binHz, 250.0f, 2000.0f);
    bands.treble = bandBins(binHz, 2000.0f, 9000.0f);
    for (std::size_t i = 0; i < kSpectrumBands; ++i) {
        const float lo = kSpectrumLow * std::pow(kSpectrumRatio, static_cast<float>(i) / 24.0f);
        const float hi = kSpectrumLow * std::pow(kSpectrumRatio, static_cast<float>(i + 1) / 24.0f);
        bands.spectrum[i] = bandBins(binHz, lo, hi);
    }
    bands.fluxTop = fluxTopBin(binHz);
    return bands;
}

} // namespace vimbo::audio
