#pragma once

#include "core/audio/AnalysisBands.h"
#include "core/audio/AudioBufferConsumer.h"
#include "core/audio/AudioFeatures.h"
#include "core/audio/FluxHistory.h"
#include "core/audio/MeanPeakTracker.h"
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
    // What analysis reads of the ring side, taken under lock_ together with the frame.
    struct Snapshot {
        bool active = false;
        double sampleRate = 0.0;
        AudioInput input = AudioInput::systemAudio;
        float sensitivity = 1.0f;
    };
    // Raw band means: bass, mid, treble and the spectrum bands, each summed in bin order.
    struct BandMeans {
        float bass = 0;
        float mid = 0;
        float treble = 0;
        std::array<float, kSpectrumBands> spectrum{};
    };

    // The steps of one analysed frame, in order.
    Snapshot takeSnapshot();
    float applyMicrophoneGain(float rms, float sensitivity);
    void transformFrame(double sampleRate);
    BandMeans bandMeans() const;
    float spectralFlux() const;
    void trackBands(const BandMeans& raw, AudioFeatures& features);
    float detectBeat(float nflux, double now);
    float followEnergy(float target);
    // Silence and inactivity: all zeros but the energy, which decays; the trackers keep their values.
    AudioFeatures decayEnergy();

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
    // Everything a reset returns to its initial value besides the ring and the spectra above.
    struct Trackers {
        DecayingPeak levelPeak;
        MeanPeakTracker bass;
        MeanPeakTracker mid;
        MeanPeakTracker treble;
        std::array<MeanPeakTracker, kSpectrumBands> spectrum{};
        DecayingPeak fluxPeak;
        FluxHistory fluxHistory;
        double lastBeatAt = 0.0;
        float energyEMA = 0;
        MicrophoneNoiseGate microphoneNoiseGate;
    };
    Trackers trackers_;
    // Bin ranges of the rate last analysed; derived from the rate alone, so reset leaves them.
    double bandsSampleRate_ = 0.0;
    AnalysisBands bands_{};
};

} // namespace vimbo::audio
