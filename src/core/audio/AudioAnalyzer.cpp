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

// Below this rms a frame is silence.
constexpr float kSilenceRms = 0.00005f;
// Share of the energy lost per silent or inactive frame.
constexpr float kIdleEnergyDecay = 0.006f;
// Share of its running mean taken off a band (bass, mid, treble) or a spectrum band.
constexpr float kBandMeanFactor = 0.85f;
constexpr float kSpectrumMeanFactor = 0.78f;
// Per-frame decay of the level and flux peaks.
constexpr float kLevelAndFluxPeakDecay = 0.9997f;
// The relative raw spectrum: its floor and the exponent that flattens it.
constexpr float kMaxRawFloor = 0.000001f;
constexpr float kSpectrumExponent = 0.38f;
// A beat: enough history, a flux above a floor and this many deviations above its mean, spaced out.
constexpr std::size_t kBeatMinHistory = 31;
constexpr float kBeatMinFlux = 0.1f;
constexpr float kBeatDeviations = 1.35f;
constexpr double kBeatMinInterval = 0.16;
// The beat's strength: how far above the mean, in these deviations (but at least the floor).
constexpr float kBeatStrengthDeviations = 2.5f;
constexpr float kBeatStrengthFloor = 0.05f;
constexpr float kBeatMinStrength = 0.4f;
// The energy target mixes level and flux; it rises fast and falls slowly.
constexpr float kEnergyLevelWeight = 0.5f;
constexpr float kEnergyFluxWeight = 0.9f;
constexpr float kEnergyRise = 0.035f;
constexpr float kEnergyFall = 0.007f;

// Captured buffers carry no alignment promise; memcpy reads a float from any address.
float sampleAt(const unsigned char* bytes, std::size_t index) {
    float sample;
    std::memcpy(&sample, bytes + index * sizeof(float), sizeof(float));
    return sample;
}

// term(0) + ... + term(count - 1) in interleaved partial sums: one running sum is a chain of
// dependent additions, while partial sums are kept in vector registers.
template <class Term> float laneSum(std::size_t count, Term term) {
    constexpr std::size_t kLanes = 16;
    std::array<float, kLanes> sums{};
    const std::size_t whole = count - count % kLanes;
    for (std::size_t i = 0; i < whole; i += kLanes) {
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            sums[lane] += term(i + lane);
    }
    for (std::size_t lane = 0; lane < count % kLanes; ++lane)
        sums[lane] += term(whole + lane);
    float total = 0;
    for (float sum : sums)
        total += sum;
    return total;
}

float rootMeanSquare(std::span<const float, AudioAnalyzer::kFrameLength> frame) {
    const float squares = laneSum(frame.size(), [&frame](std::size_t i) { return frame[i] * frame[i]; });
    return std::sqrt(squares / static_cast<float>(frame.size()));
}

int binCount(BinRange range) {
    return range.empty() ? 0 : range.last - range.first + 1;
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
    const Snapshot snapshot = takeSnapshot();
    // No rate yet, or the unusable rate of the last (ignored) block: no band or flux range can be formed,
    // so the frame reads as silence, before the microphone gate sees it.
    if (!snapshot.active || !isUsableSampleRate(snapshot.sampleRate)) return decayEnergy();

    float rms = rootMeanSquare(frame_);
    if (snapshot.input == AudioInput::microphone) rms = applyMicrophoneGain(rms, snapshot.sensitivity);
    if (rms < kSilenceRms) return decayEnergy();

    transformFrame(snapshot.sampleRate);
    const BandMeans raw = bandMeans();
    const float flux = spectralFlux();
    prevMags_ = magsSqrt_;

    AudioFeatures features;
    features.level = trackers_.levelPeak.normalise(rms, kLevelAndFluxPeakDecay);
    trackBands(raw, features);
    const float nflux = trackers_.fluxPeak.normalise(flux, kLevelAndFluxPeakDecay);
    features.beat = detectBeat(nflux, now);
    features.energy =
        followEnergy(std::min(kEnergyLevelWeight * features.level + kEnergyFluxWeight * nflux, 1.0f));
    return features;
}

AudioAnalyzer::Snapshot AudioAnalyzer::takeSnapshot() {
    std::lock_guard guard(lock_);
    // The newest 2048 samples, oldest first: at most two contiguous runs of the ring.
    const auto start = static_cast<std::size_t>(
        (ringIdx_ + static_cast<std::int64_t>(kRingLength) - static_cast<std::int64_t>(kFrameLength)) &
        kRingMask);
    const std::size_t firstRun = std::min(kFrameLength, kRingLength - start);
    std::copy_n(ring_.begin() + static_cast<std::ptrdiff_t>(start), firstRun, frame_.begin());
    std::copy_n(ring_.begin(), kFrameLength - firstRun,
                frame_.begin() + static_cast<std::ptrdiff_t>(firstRun));
    return Snapshot{captureActive_, sampleRate_, ringInput_, microphoneSensitivity_};
}

// The gate needs the frame's rms before the frame can be scaled; it moves on every microphone frame,
// silent or not. Returns the scaled rms.
float AudioAnalyzer::applyMicrophoneGain(float rms, float sensitivity) {
    const float gain = sensitivity * trackers_.microphoneNoiseGate.process(rms);
    for (float& sample : frame_)
        sample *= gain;
    return gain * rms;
}

// Windows the frame, transforms it into mags_ and magsSqrt_ and picks the bin ranges of its rate.
void AudioAnalyzer::transformFrame(double sampleRate) {
    const std::span<float, kFrameLength> windowed = fft_.input();
    for (std::size_t i = 0; i < kFrameLength; ++i)
        windowed[i] = frame_[i] * hann_[i];
    fft_.execute();
    fft_.magnitudes(mags_, magsSqrt_);
    if (sampleRate != bandsSampleRate_) {
        bands_ = AnalysisBands::forSampleRate(sampleRate);
        bandsSampleRate_ = sampleRate;
    }
}

// Every band is summed in bin order, but each sum is its own chain of dependent additions, and
// interleaving the chains in one pass lets the processor overlap their latencies.
AudioAnalyzer::BandMeans AudioAnalyzer::bandMeans() const {
    auto nextBand = [this](std::size_t band) {
        while (band < kSpectrumBands && bands_.spectrum[band].empty())
            ++band;
        return band;
    };
    const int bassCount = binCount(bands_.bass);
    const int midCount = binCount(bands_.mid);
    const int trebleCount = binCount(bands_.treble);
    int spectrumCount = 0;
    for (const BinRange& range : bands_.spectrum)
        spectrumCount += binCount(range);
    const int steps = std::max({bassCount, midCount, trebleCount, spectrumCount});

    const float* bins = magsSqrt_.data();
    const float* bass = bins + bands_.bass.first;
    const float* mid = bins + bands_.mid.first;
    const float* treble = bins + bands_.treble.first;
    BandMeans means;
    float bandSum = 0;
    std::size_t band = nextBand(0);
    int bin = band < kSpectrumBands ? bands_.spectrum[band].first : 0;
    for (int i = 0; i < steps; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (i < bassCount) means.bass += bass[u];
        if (i < midCount) means.mid += mid[u];
        if (i < trebleCount) means.treble += treble[u];
        if (i < spectrumCount) {
            bandSum += bins[bin];
            if (bin == bands_.spectrum[band].last) {
                means.spectrum[band] = bandSum / static_cast<float>(binCount(bands_.spectrum[band]));
                bandSum = 0;
                band = nextBand(band + 1);
                if (band < kSpectrumBands) bin = bands_.spectrum[band].first;
            } else {
                ++bin;
            }
        }
    }
    if (bassCount > 0) means.bass /= static_cast<float>(bassCount);
    if (midCount > 0) means.mid /= static_cast<float>(midCount);
    if (trebleCount > 0) means.treble /= static_cast<float>(trebleCount);
    return means;
}

// How much the spectrum rose since the previous frame, over bins 1 up to the flux range's top.
float AudioAnalyzer::spectralFlux() const {
    const float* bins = magsSqrt_.data() + 1;
    const float* previous = prevMags_.data() + 1;
    return laneSum(static_cast<std::size_t>(bands_.fluxTop),
                   [bins, previous](std::size_t k) { return std::max(0.0f, bins[k] - previous[k]); });
}

void AudioAnalyzer::trackBands(const BandMeans& raw, AudioFeatures& features) {
    features.bass = trackers_.bass.track(raw.bass, kBandMeanFactor);
    features.mid = trackers_.mid.track(raw.mid, kBandMeanFactor);
    features.treble = trackers_.treble.track(raw.treble, kBandMeanFactor);
    float maxRaw = kMaxRawFloor;
    for (float value : raw.spectrum)
        maxRaw = std::max(maxRaw, value);
    for (std::size_t i = 0; i < kSpectrumBands; ++i) {
        const float standing = trackers_.spectrum[i].track(raw.spectrum[i], kSpectrumMeanFactor);
        // Nothing above the mean gives 0 whatever the relative level, so powf is skipped then.
        if (standing > 0)
            features.spectrum[i] = standing * std::pow(raw.spectrum[i] / maxRaw, kSpectrumExponent);
    }
}

float AudioAnalyzer::detectBeat(float nflux, double now) {
    FluxHistory& history = trackers_.fluxHistory;
    history.append(nflux);
    if (history.count() < kBeatMinHistory) return 0;
    const float mu = history.mean();
    const float sigma = history.deviation(mu);
    const bool onset = nflux > kBeatMinFlux && nflux > mu + kBeatDeviations * sigma &&
                       now - trackers_.lastBeatAt > kBeatMinInterval;
    if (!onset) return 0;
    trackers_.lastBeatAt = now;
    const float strength = (nflux - mu) / std::max(kBeatStrengthDeviations * sigma, kBeatStrengthFloor);
    return std::min(std::max(strength, kBeatMinStrength), 1.0f);
}

float AudioAnalyzer::followEnergy(float target) {
    float& energy = trackers_.energyEMA;
    energy = energy + (target - energy) * (energy < target ? kEnergyRise : kEnergyFall);
    return energy;
}

AudioFeatures AudioAnalyzer::decayEnergy() {
    float& energy = trackers_.energyEMA;
    energy = energy + (0.0f - energy) * kIdleEnergyDecay;
    AudioFeatures features;
    features.energy = energy;
    return features;
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
    trackers_ = Trackers{};
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
