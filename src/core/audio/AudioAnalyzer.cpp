#include "core/audio/AudioAnalyzer.h"

#include "core/audio/MicrophoneSensitivityStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vimbo::audio {

namespace {

static_assert(AudioAnalyzer::kFluxHistoryMax == FluxHistory::kCapacity);
static_assert(AudioAnalyzer::kFrameLength == RealFft::kLength);

constexpr std::int64_t kRingMask = static_cast<std::int64_t>(AudioAnalyzer::kRingLength) - 1;
constexpr float kPeakStart = 0.001f;

// Captured buffers carry no alignment promise; memcpy reads a float from any address.
float sampleAt(const unsigned char* bytes, std::size_t index) {
    float sample;
    std::memcpy(&sample, bytes + index * sizeof(float), sizeof(float));
    return sample;
}

} // namespace

AudioAnalyzer::AudioAnalyzer() {
    // The normalised Hann window (RMS 1): each value is worked out in double and rounded once to
    // single precision, so it is the float nearest 0.8165 * (1 - cos(2 pi i / 2048)).
    for (std::size_t i = 0; i < kFrameLength; ++i) {
        const double phase =
            2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(kFrameLength);
        hann_[i] = static_cast<float>(0.8165 * (1.0 - std::cos(phase)));
    }
    spectrumPeak_.fill(kPeakStart);
}

AudioAnalyzer::~AudioAnalyzer() = default;

// Capture callback threads: no allocation, I/O or logging here.
void AudioAnalyzer::ingest(std::span<const AudioBuffer> buffers, const AudioStreamDescription& format,
                           AudioInput input) {
    std::lock_guard guard(lock_);
    sampleRate_ = format.sampleRate;
    ringInput_ = input;
    // A block at a rate the analysis cannot use is ignored like any other unusable block, so its
    // samples never meet the bin ranges of another rate.
    if (!isUsableSampleRate(format.sampleRate)) return;

    auto append = [this](float mono) {
        ring_[static_cast<std::size_t>(ringIdx_)] = mono;
        ringIdx_ = (ringIdx_ + 1) & kRingMask;
    };

    if ((format.formatFlags & kAudioFormatFlagIsNonInterleaved) != 0) {
        auto usable = [](const AudioBuffer& buffer) {
            return buffer.data != nullptr && buffer.dataByteSize >= sizeof(float);
        };
        std::size_t kept = 0;
        std::size_t frames = 0;
        for (const AudioBuffer& buffer : buffers) {
            if (!usable(buffer)) continue;
            const std::size_t samples = buffer.dataByteSize / sizeof(float);
            frames = kept == 0 ? samples : std::min(frames, samples);
            ++kept;
        }
        if (kept == 0) return;
        const float divisor = static_cast<float>(kept);
        for (std::size_t i = 0; i < frames; ++i) {
            float sum = 0;
            for (const AudioBuffer& buffer : buffers) {
                if (usable(buffer)) sum += sampleAt(static_cast<const unsigned char*>(buffer.data), i);
            }
            append(sum / divisor);
        }
        return;
    }

    if (buffers.empty() || buffers[0].data == nullptr) return;
    const AudioBuffer& buffer = buffers[0];
    const std::size_t channels = format.channelsPerFrame == 0 ? 1 : format.channelsPerFrame;
    const std::size_t stride = channels * sizeof(float);
    if (stride > buffer.dataByteSize) return;
    const std::size_t frames = buffer.dataByteSize / stride;
    const auto* bytes = static_cast<const unsigned char*>(buffer.data);
    const float divisor = static_cast<float>(channels);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        float sum = 0;
        for (std::size_t c = 0; c < channels; ++c)
            sum += sampleAt(bytes, frame * channels + c);
        append(sum / divisor);
    }
}

// Main thread.
AudioFeatures AudioAnalyzer::analyze(double now) {
    std::lock_guard analysisGuard(analysisStateLock_);

    bool active;
    double sampleRate;
    AudioInput input;
    float sensitivity;
    {
        std::lock_guard guard(lock_);
        active = captureActive_;
        sampleRate = sampleRate_;
        input = ringInput_;
        sensitivity = microphoneSensitivity_;
        for (std::size_t i = 0; i < kFrameLength; ++i) {
            const auto slot = (ringIdx_ - static_cast<std::int64_t>(kFrameLength) +
                               static_cast<std::int64_t>(kRingLength) + static_cast<std::int64_t>(i)) &
                              kRingMask;
            frame_[i] = ring_[static_cast<std::size_t>(slot)];
        }
    }

    // An unusable rate (only ever seen with a block that was ignored) reads as silence: no band or
    // flux range can be formed for it.
    if (!active || !isUsableSampleRate(sampleRate)) return decayEnergy();

    float sumSquares = 0;
    for (float sample : frame_)
        sumSquares += sample * sample;
    float rms = std::sqrt(sumSquares / static_cast<float>(kFrameLength));

    if (input == AudioInput::microphone) {
        const float gain = sensitivity * microphoneNoiseGate_.process(rms);
        for (float& sample : frame_)
            sample *= gain;
        rms = gain * rms;
    }
    if (rms < 0.00005f) return decayEnergy();

    const std::span<float, kFrameLength> windowed = fft_.input();
    for (std::size_t i = 0; i < kFrameLength; ++i)
        windowed[i] = frame_[i] * hann_[i];
    fft_.execute();
    fft_.squaredMagnitudes(mags_);
    for (std::size_t k = 0; k < kBins; ++k)
        magsSqrt_[k] = std::sqrt(mags_[k]);

    if (sampleRate != bandsSampleRate_) {
        bands_ = AnalysisBands::forSampleRate(sampleRate);
        bandsSampleRate_ = sampleRate;
    }

    const float rawBass = bandMean(bands_.bass);
    const float rawMid = bandMean(bands_.mid);
    const float rawTreble = bandMean(bands_.treble);

    std::array<float, kSpectrumBands> raw;
    float maxRaw = 0.000001f;
    for (std::size_t i = 0; i < kSpectrumBands; ++i) {
        raw[i] = bandMean(bands_.spectrum[i]);
        maxRaw = std::max(maxRaw, raw[i]);
    }

    float flux = 0;
    for (int k = 1; k <= bands_.fluxTop; ++k) {
        const auto bin = static_cast<std::size_t>(k);
        flux += std::max(0.0f, magsSqrt_[bin] - prevMags_[bin]);
    }
    prevMags_ = magsSqrt_;

    auto track = [](float v, float& mean, float& peak) {
        mean = mean + (v - mean) * 0.008f;
        const float above = std::max(v - 0.85f * mean, 0.0f);
        peak = std::max(peak * 0.9995f, above);
        return std::min(above / std::max(peak, 0.0001f), 1.0f);
    };
    levelPeak_ = std::max(levelPeak_ * 0.9997f, rms);

    AudioFeatures features;
    features.bass = track(rawBass, bassMean_, bassPeak_);
    features.mid = track(rawMid, midMean_, midPeak_);
    features.treble = track(rawTreble, trebleMean_, treblePeak_);
    features.level = std::min(rms / std::max(levelPeak_, 0.0001f), 1.0f);

    for (std::size_t i = 0; i < kSpectrumBands; ++i) {
        float& mean = spectrumMean_[i];
        float& peak = spectrumPeak_[i];
        mean = mean + (raw[i] - mean) * 0.008f;
        const float above = std::max(raw[i] - 0.78f * mean, 0.0f);
        peak = std::max(peak * 0.9995f, above);
        features.spectrum[i] =
            std::min(above / std::max(peak, 0.0001f), 1.0f) * std::pow(raw[i] / maxRaw, 0.38f);
    }

    fluxPeak_ = std::max(fluxPeak_ * 0.9997f, flux);
    const float nflux = std::min(flux / std::max(fluxPeak_, 0.0001f), 1.0f);
    fluxHistory_.append(nflux);

    if (fluxHistory_.count() >= 31) {
        const float mu = fluxHistory_.mean();
        const float sigma = fluxHistory_.deviation(mu);
        if (nflux > 0.1f && nflux > mu + 1.35f * sigma && now - lastBeatAt_ > 0.16) {
            features.beat = std::min(std::max((nflux - mu) / std::max(2.5f * sigma, 0.05f), 0.4f), 1.0f);
            lastBeatAt_ = now;
        }
    }

    const float target = std::min(0.5f * features.level + 0.9f * nflux, 1.0f);
    const float rate = energyEMA_ < target ? 0.035f : 0.007f;
    energyEMA_ = energyEMA_ + (target - energyEMA_) * rate;
    features.energy = energyEMA_;
    return features;
}

AudioFeatures AudioAnalyzer::decayEnergy() {
    energyEMA_ = energyEMA_ + (0.0f - energyEMA_) * 0.006f;
    AudioFeatures features;
    features.energy = energyEMA_;
    return features;
}

float AudioAnalyzer::bandMean(BinRange range) const {
    if (range.empty()) return 0;
    float sum = 0;
    for (int k = range.first; k <= range.last; ++k)
        sum += magsSqrt_[static_cast<std::size_t>(k)];
    return sum / static_cast<float>(range.last - range.first + 1);
}

void AudioAnalyzer::reset() {
    std::lock_guard analysisGuard(analysisStateLock_);
    {
        std::lock_guard guard(lock_);
        captureActive_ = false;
        ring_.fill(0);
        ringIdx_ = 0;
        sampleRate_ = 0.0;
        ringInput_ = AudioInput::systemAudio;
    }
    mags_.fill(0);
    magsSqrt_.fill(0);
    prevMags_.fill(0);
    levelPeak_ = kPeakStart;
    bassMean_ = 0;
    bassPeak_ = kPeakStart;
    midMean_ = 0;
    midPeak_ = kPeakStart;
    trebleMean_ = 0;
    treblePeak_ = kPeakStart;
    spectrumMean_.fill(0);
    spectrumPeak_.fill(kPeakStart);
    fluxPeak_ = kPeakStart;
    fluxHistory_.clear();
    lastBeatAt_ = 0.0;
    energyEMA_ = 0;
    microphoneNoiseGate_ = MicrophoneNoiseGate{};
}

void AudioAnalyzer::setCaptureActive(bool active) {
    std::lock_guard guard(lock_);
    captureActive_ = active;
}

bool AudioAnalyzer::captureActive() const {
    std::lock_guard guard(lock_);
    return captureActive_;
}

void AudioAnalyzer::setMicrophoneSensitivity(float value) {
    std::lock_guard guard(lock_);
    microphoneSensitivity_ = MicrophoneSensitivityStore::clamp(value);
}

float AudioAnalyzer::microphoneSensitivity() const {
    std::lock_guard guard(lock_);
    return microphoneSensitivity_;
}

} // namespace vimbo::audio
