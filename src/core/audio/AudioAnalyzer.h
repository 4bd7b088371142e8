#pragma once

#include "core/audio/AnalysisBands.h"
#include "core/audio/AudioBufferConsumer.h"
#include "core/audio/AudioFeatures.h"
#include "core/audio/FluxHistory.h"
#include "core/audio/MicrophoneNoiseGate.h"
#include "core/audio/RealFft.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

namespace vimbo::audio {

// Turns the captured sample stream into one AudioFeatures value per display frame.
// Lock order: analysisStateLock_ before lock_, never the reverse.
class AudioAnalyzer final : public AudioBufferConsumer {
  public:
    AudioAnalyzer();
    ~AudioAnalyzer() override;
    AudioAnalyzer(const AudioAnalyzer&) = delete;
    AudioAnalyzer& operator=(const AudioAnalyzer&) = delete;

    // Capture callback threads: mixes the block to mono into the ring. No allocation, I/O or logging.
    void ingest(std::span<const AudioBuffer> buffers, const AudioStreamDescription& format,
                AudioInput input) override;
    // Main thread: analyses the newest 2048 samples; `now` is seconds on a monotonic clock.
    AudioFeatures analyze(double now);
    // Returns every field but the sensitivity and the FFT set-up to its initial value.
    void reset();

    void setCaptureActive(bool active);
    bool captureActive() const;
    // Non-finite values become 1.0; the rest are clamped to 0.125...8.0.
    void setMicrophoneSensitivity(float value);
    float microphoneSensitivity() const;

    static constexpr std::size_t kRingLength = 4096;
    static constexpr std::size_t kFrameLength = 2048;
    static constexpr std::size_t kBins = kFrameLength / 2;
    static constexpr std::size_t kFluxHistoryMax = 90;

  private:
    // Silence and inactivity: all zeros but the energy, which decays; the trackers keep their values.
    AudioFeatures decayEnergy();
    float frameRms() const;
    // The band means (raw bass, mid, treble and spectrum), the flux against prevMags and, when asked,
    // the frame's sum of squares.
    struct FrameSums {
        float squares = 0;
        float bass = 0;
        float mid = 0;
        float treble = 0;
        float flux = 0;
        std::array<float, kSpectrumBands> spectrum{};
    };
    FrameSums sumFrame(bool withSquares) const;

    mutable std::mutex lock_; // the ring side
    bool captureActive_ = false;
    std::array<float, kRingLength> ring_{};
    std::int64_t ringIdx_ = 0;
    double sampleRate_ = 0.0;
    AudioInput ringInput_ = AudioInput::systemAudio;
    float microphoneSensitivity_ = 1.0f;

    std::mutex analysisStateLock_; // everything below
    RealFft fft_;
    std::array<float, kFrameLength> hann_{};
    std::array<float, kFrameLength> frame_{};
    std::array<float, kBins> mags_{};
    std::array<float, kBins> magsSqrt_{};
    std::array<float, kBins> prevMags_{};
    float levelPeak_ = 0.001f;
    float bassMean_ = 0, bassPeak_ = 0.001f;
    float midMean_ = 0, midPeak_ = 0.001f;
    float trebleMean_ = 0, treblePeak_ = 0.001f;
    std::array<float, kSpectrumBands> spectrumMean_{};
    std::array<float, kSpectrumBands> spectrumPeak_{};
    float fluxPeak_ = 0.001f;
    FluxHistory fluxHistory_;
    double lastBeatAt_ = 0.0;
    float energyEMA_ = 0;
    MicrophoneNoiseGate microphoneNoiseGate_;
    // Bin ranges of the rate last analysed; derived from the rate alone, so reset leaves them.
    double bandsSampleRate_ = 0.0;
    AnalysisBands bands_{};
};

} // namespace vimbo::audio
