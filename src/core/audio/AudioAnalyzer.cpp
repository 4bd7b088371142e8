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
        // The newest 2048 samples, oldest first: at most two contiguous runs of the ring.
        const auto start = static_cast<std::size_t>(
            (ringIdx_ + static_cast<std::int64_t>(kRingLength) - static_cast<std::int64_t>(kFrameLength)) &
            kRingMask);
        const std::size_t firstRun = std::min(kFrameLength, kRingLength - start);
        std::copy_n(ring_.begin() + static_cast<std::ptrdiff_t>(start), firstRun, frame_.begin());
        std::copy_n(ring_.begin(), kFrameLength - firstRun,
                    frame_.begin() + static_cast<std::ptrdiff_t>(firstRun));
    }

    // No rate yet, or the unusable rate of the last (ignored) block: no band or flux range can be formed,
    // so the frame reads as silence, before the microphone gate sees it.
    if (!active || !isUsableSampleRate(sampleRate)) return decayEnergy();

    const std::span<float, kFrameLength> windowed = fft_.input();
    const bool microphone = input == AudioInput::microphone;
    float rms = 0;
    if (microphone) {
        // The gate needs this frame's rms before the frame can be scaled; the gate moves on every
        // frame, silent or not.
        rms = frameRms();
        const float gain = sensitivity * microphoneNoiseGate_.process(rms);
        for (float& sample : frame_)
            sample *= gain;
        rms = gain * rms;
        if (rms < 0.00005f) return decayEnergy();
    }
    for (std::size_t i = 0; i < kFrameLength; ++i)
        windowed[i] = frame_[i] * hann_[i];
    fft_.execute();
    fft_.magnitudes(mags_, magsSqrt_);
    if (sampleRate != bandsSampleRate_) {
        bands_ = AnalysisBands::forSampleRate(sampleRate);
        bandsSampleRate_ = sampleRate;
    }

    // Other input is transformed before its silence test, so that the long rms sum can share one
    // pass with the band sums; a silent frame then leaves only the scratch spectra (mags, magsSqrt)
    // changed, which every analysed frame overwrites before reading.
    const FrameSums sums = sumFrame(!microphone);
    if (!microphone) {
        rms = std::sqrt(sums.squares / static_cast<float>(kFrameLength));
        if (rms < 0.00005f) return decayEnergy();
    }
    prevMags_ = magsSqrt_;

    const float rawBass = sums.bass;
    const float rawMid = sums.mid;
    const float rawTreble = sums.treble;
    const std::array<float, kSpectrumBands>& raw = sums.spectrum;
    float maxRaw = 0.000001f;
    for (float value : raw)
        maxRaw = std::max(maxRaw, value);
    const float flux = sums.flux;

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
        // Nothing above the mean gives 0 whatever the relative level, so powf is skipped then.
        if (above > 0)
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

float AudioAnalyzer::frameRms() const {
    float sumSquares = 0;
    for (float sample : frame_)
        sumSquares += sample * sample;
    return std::sqrt(sumSquares / static_cast<float>(kFrameLength));
}

// Every sum is still added in index order, but each is its own chain of dependent additions, and
// interleaving the chains in one pass lets the processor overlap their latencies.
AudioAnalyzer::FrameSums AudioAnalyzer::sumFrame(bool withSquares) const {
    auto binCount = [](BinRange range) { return range.empty() ? 0 : range.last - range.first + 1; };
    auto nextBand = [this](std::size_t band) {
        while (band < kSpectrumBands && bands_.spectrum[band].empty())
            ++band;
        return band;
    };
    const int bassCount = binCount(bands_.bass);
    const int midCount = binCount(bands_.mid);
    const int trebleCount = binCount(bands_.treble);
    const int fluxCount = bands_.fluxTop;
    int spectrumCount = 0;
    for (const BinRange& range : bands_.spectrum)
        spectrumCount += binCount(range);
    const int bandSteps = std::max({bassCount, midCount, trebleCount, fluxCount, spectrumCount});

    const float* bins = magsSqrt_.data();
    const float* bass = bins + bands_.bass.first;
    const float* mid = bins + bands_.mid.first;
    const float* treble = bins + bands_.treble.first;
    FrameSums sums;
    float bandSum = 0;
    std::size_t band = nextBand(0);
    int bin = band < kSpectrumBands ? bands_.spectrum[band].first : 0;
    // bandSteps is at most 1023, below the frame length.
    for (int i = 0; i < bandSteps; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (withSquares) sums.squares += frame_[u] * frame_[u];
        if (i < fluxCount) sums.flux += std::max(0.0f, bins[u + 1] - prevMags_[u + 1]);
        if (i < bassCount) sums.bass += bass[u];
        if (i < midCount) sums.mid += mid[u];
        if (i < trebleCount) sums.treble += treble[u];
        if (i < spectrumCount) {
            bandSum += bins[bin];
            if (bin == bands_.spectrum[band].last) {
                sums.spectrum[band] = bandSum / static_cast<float>(binCount(bands_.spectrum[band]));
                bandSum = 0;
                band = nextBand(band + 1);
                if (band < kSpectrumBands) bin = bands_.spectrum[band].first;
            } else {
                ++bin;
            }
        }
    }
    if (withSquares) {
        for (auto i = static_cast<std::size_t>(bandSteps); i < kFrameLength; ++i)
            sums.squares += frame_[i] * frame_[i];
    }
    if (bassCount > 0) sums.bass /= static_cast<float>(bassCount);
    if (midCount > 0) sums.mid /= static_cast<float>(midCount);
    if (trebleCount > 0) sums.treble /= static_cast<float>(trebleCount);
    return sums;
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
