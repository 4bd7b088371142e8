#include "core/audio/AudioAnalyzer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

using vimbo::audio::AudioAnalyzer;
using vimbo::audio::AudioBuffer;
using vimbo::audio::AudioFeatures;
using vimbo::audio::AudioInput;
using vimbo::audio::AudioStreamDescription;

namespace {

AudioBuffer bufferOf(const std::vector<float>& samples) {
    return AudioBuffer{1, static_cast<std::uint32_t>(samples.size() * sizeof(float)), samples.data()};
}

AudioStreamDescription interleaved(double rate, std::uint32_t channels) {
    return AudioStreamDescription{rate, 0, channels};
}

AudioStreamDescription nonInterleaved(double rate) {
    return AudioStreamDescription{rate, vimbo::audio::kAudioFormatFlagIsNonInterleaved, 1};
}

// Rms of a frame holding `count` samples of `value` and zeros elsewhere.
float frameRms(float value, std::size_t count) {
    float sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += value * value;
    return std::sqrt(sum / 2048.0f);
}

// Level of the first non-silent frame after a reset: the rms against the peak decayed once from 0.001.
float firstLevel(float rms) {
    return std::min(rms / std::max(0.001f * 0.9997f, rms), 1.0f);
}
float firstLevel(float value, std::size_t count) {
    return firstLevel(frameRms(value, count));
}

bool allFinite(const AudioFeatures& f) {
    for (float v : {f.level, f.bass, f.mid, f.treble, f.energy, f.beat})
        if (!std::isfinite(v)) return false;
    for (float v : f.spectrum)
        if (!std::isfinite(v)) return false;
    return true;
}

bool allZeroButEnergy(const AudioFeatures& f) {
    AudioFeatures zero;
    zero.energy = f.energy;
    return f == zero;
}

class AudioAnalyzerTest : public ::testing::Test {
  protected:
    AudioAnalyzer analyzer;
    double now = 0;

    void SetUp() override { analyzer.setCaptureActive(true); }

    void ingestMono(const std::vector<float>& samples, double rate = 48000,
                    AudioInput input = AudioInput::systemAudio) {
        const AudioBuffer buffer = bufferOf(samples);
        analyzer.ingest({&buffer, 1}, interleaved(rate, 1), input);
    }
    AudioFeatures tick() {
        now += 1.0 / 60.0;
        return analyzer.analyze(now);
    }
};

// A 1200 Hz tone has a whole number of periods in every 800-sample tick, so steady frames repeat exactly.
std::vector<float> tone(std::size_t count, float amplitude) {
    std::vector<float> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = amplitude *
                     static_cast<float>(std::sin(2 * std::numbers::pi * static_cast<double>(i % 40) / 40.0));
    return samples;
}

std::vector<float> noiseBurst(std::size_t count, std::uint32_t seed) {
    std::vector<float> samples(count);
    for (float& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
    }
    return samples;
}

} // namespace

TEST_F(AudioAnalyzerTest, EmptyRingIsSilentAndEnergyStaysZero) {
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tick(), AudioFeatures{});
}

TEST_F(AudioAnalyzerTest, FirstFrameAfterResetMeasuresLevelAgainstDecayedPeak) {
    ingestMono(std::vector<float>(2048, 0.0005f));
    EXPECT_FLOAT_EQ(tick().level, firstLevel(0.0005f, 2048));
    EXPECT_NEAR(firstLevel(0.0005f, 2048), 0.0005f / 0.0009997f, 1e-5f);
    analyzer.reset();
    analyzer.setCaptureActive(true);
    ingestMono(std::vector<float>(2048, 0.01f));
    EXPECT_EQ(tick().level, 1.0f);
}

TEST_F(AudioAnalyzerTest, InterleavedStereoAppendsOneMonoSamplePerFrame) {
    std::vector<float> stereo(1024);
    for (std::size_t i = 0; i < stereo.size(); i += 2)
        stereo[i] = 0.002f; // left 0.002, right 0 -> 0.001
    const AudioBuffer buffer = bufferOf(stereo);
    analyzer.ingest({&buffer, 1}, interleaved(48000, 2), AudioInput::systemAudio);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(0.001f, 512));
}

TEST_F(AudioAnalyzerTest, NonInterleavedUsesTheShortestChannel) {
    const std::vector<float> left(512, 0.003f);
    const std::vector<float> right(480, 0.001f);
    const AudioBuffer buffers[] = {bufferOf(left), AudioBuffer{1, 4096, nullptr}, bufferOf(right),
                                   AudioBuffer{1, 3, left.data()}};
    analyzer.ingest(buffers, nonInterleaved(48000), AudioInput::systemAudio);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(0.002f, 480));
}

TEST_F(AudioAnalyzerTest, UnusableBlocksAreIgnoredButSetTheRate) {
    const std::vector<float> loud(512, 0.5f);
    const AudioBuffer nullBuffer{1, 2048, nullptr};
    const AudioBuffer tooSmall{1, 4, loud.data()};
    analyzer.ingest({}, interleaved(48000, 1), AudioInput::systemAudio);
    analyzer.ingest({&nullBuffer, 1}, interleaved(48000, 1), AudioInput::systemAudio);
    analyzer.ingest({&nullBuffer, 1}, nonInterleaved(48000), AudioInput::systemAudio);
    analyzer.ingest({&tooSmall, 1}, interleaved(48000, 2), AudioInput::systemAudio);
    EXPECT_EQ(tick(), AudioFeatures{});

    ingestMono(loud);
    // The ignored block's rate is still recorded: 0 Hz cannot be analysed, so the frame reads as silent.
    analyzer.ingest({&nullBuffer, 1}, interleaved(0, 1), AudioInput::systemAudio);
    EXPECT_EQ(tick(), AudioFeatures{});
    ingestMono({}, 48000);
    EXPECT_GT(tick().level, 0.0f);
}

TEST_F(AudioAnalyzerTest, BadSampleRatesNeverProduceNanOrUseTheirSamples) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double rate : {0.0, -48000.0, nan, inf, -inf, 0.5, 16384001.0, 1e300}) {
        SCOPED_TRACE(rate);
        analyzer.reset();
        analyzer.setCaptureActive(true);
        ingestMono(noiseBurst(4096, 7), rate);
        EXPECT_EQ(tick(), AudioFeatures{});
        // Their samples never entered the ring: at a good rate the frame is still silent.
        analyzer.ingest({}, interleaved(48000, 1), AudioInput::systemAudio);
        EXPECT_EQ(tick(), AudioFeatures{});
    }
    // The extremes of the usable range are analysed and stay finite.
    for (double rate : {1.0, 20.0, 16384000.0}) {
        SCOPED_TRACE(rate);
        analyzer.reset();
        analyzer.setCaptureActive(true);
        for (int i = 0; i < 40; ++i) {
            ingestMono(noiseBurst(800, static_cast<std::uint32_t>(i)), rate);
            const AudioFeatures f = tick();
            ASSERT_TRUE(allFinite(f));
            EXPECT_GT(f.level, 0.0f);
        }
    }
}

TEST_F(AudioAnalyzerTest, InactiveAndSilentFramesDecayEnergyOnly) {
    for (int i = 0; i < 20; ++i)
        ingestMono(noiseBurst(800, static_cast<std::uint32_t>(i)));
    AudioFeatures f;
    for (int i = 0; i < 20; ++i) {
        ingestMono(noiseBurst(800, static_cast<std::uint32_t>(100 + i)));
        f = tick();
    }
    float energy = f.energy;
    ASSERT_GT(energy, 0.0f);

    analyzer.setCaptureActive(false);
    for (int i = 0; i < 3; ++i) {
        energy = energy + (0.0f - energy) * 0.006f;
        f = tick();
        EXPECT_TRUE(allZeroButEnergy(f));
        EXPECT_EQ(f.energy, energy);
    }
    analyzer.setCaptureActive(true);
    ingestMono(std::vector<float>(2048, 0.00004f)); // below the silence threshold
    energy = energy + (0.0f - energy) * 0.006f;
    f = tick();
    EXPECT_TRUE(allZeroButEnergy(f));
    EXPECT_EQ(f.energy, energy);
}

TEST_F(AudioAnalyzerTest, OutputsStayInRangeAndSteadyToneFades) {
    float firstMid = 0;
    AudioFeatures f;
    for (int i = 0; i < 600; ++i) {
        ingestMono(tone(800, 0.3f));
        f = tick();
        ASSERT_TRUE(allFinite(f));
        for (float v : {f.level, f.bass, f.mid, f.treble, f.energy}) {
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 1.0f);
        }
        for (float v : f.spectrum)
            EXPECT_LE(v, 1.0f);
        if (i == 5) firstMid = f.mid;
        if (i > 0) {
            EXPECT_EQ(f.beat, 0.0f); // identical frames have no flux, hence no beat
        }
    }
    EXPECT_GT(firstMid, 0.5f); // 1200 Hz lies in the mid band
    EXPECT_LT(f.mid, firstMid * 0.5f);
    EXPECT_EQ(f.bass, 0.0f);
}

namespace {

// Steady tone for 60 ticks, then bursts of noise at the given ticks; returns the ticks with a beat.
std::vector<int> beatTicks(AudioAnalyzer& analyzer, std::vector<int> burstTicks) {
    std::vector<int> beats;
    for (int t = 1; t <= 120; ++t) {
        std::vector<float> block = tone(800, 0.1f);
        for (int burst : burstTicks) {
            if (t == burst) {
                const auto noise = noiseBurst(800, static_cast<std::uint32_t>(t));
                for (std::size_t i = 0; i < block.size(); ++i)
                    block[i] += noise[i];
            }
        }
        const AudioBuffer buffer = bufferOf(block);
        analyzer.ingest({&buffer, 1}, interleaved(48000, 1), AudioInput::systemAudio);
        if (analyzer.analyze(t / 60.0).beat > 0) beats.push_back(t);
    }
    return beats;
}

} // namespace

TEST_F(AudioAnalyzerTest, BeatsNeedMoreThan016SecondsBetweenThem) {
    EXPECT_EQ(beatTicks(analyzer, {60, 66}), (std::vector<int>{60})); // 0.1 s apart
    analyzer.reset();
    analyzer.setCaptureActive(true);
    EXPECT_EQ(beatTicks(analyzer, {60, 72}), (std::vector<int>{60, 72})); // 0.2 s apart
}

TEST_F(AudioAnalyzerTest, MicrophoneInputIsGatedAndScaled) {
    analyzer.setMicrophoneSensitivity(20.0f);
    EXPECT_EQ(analyzer.microphoneSensitivity(), 8.0f);
    analyzer.setMicrophoneSensitivity(0.01f);
    EXPECT_EQ(analyzer.microphoneSensitivity(), 0.125f);
    analyzer.setMicrophoneSensitivity(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(analyzer.microphoneSensitivity(), 1.0f);

    // A sudden signal opens a fresh gate to 0.55 of the target; the rms is scaled by the sensitivity too.
    analyzer.setMicrophoneSensitivity(0.125f);
    ingestMono(std::vector<float>(2048, 0.03f), 48000, AudioInput::microphone);
    vimbo::audio::MicrophoneNoiseGate gate;
    const float rms = frameRms(0.03f, 2048);
    EXPECT_EQ(gate.process(rms), 0.55f);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(0.125f * 0.55f * rms));

    // A reset keeps the sensitivity but starts a fresh gate.
    analyzer.setMicrophoneSensitivity(0.25f);
    analyzer.reset();
    EXPECT_EQ(analyzer.microphoneSensitivity(), 0.25f);
    EXPECT_FALSE(analyzer.captureActive());
    analyzer.setCaptureActive(true);
    ingestMono(std::vector<float>(2048, 0.015f), 48000, AudioInput::microphone);
    gate = {};
    const float quietRms = frameRms(0.015f, 2048);
    const float gain = 0.25f * gate.process(quietRms);
    ASSERT_GT(gain, 0.0f);
    ASSERT_LT(gain, 0.25f * 0.55f);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(gain * quietRms));
}

TEST_F(AudioAnalyzerTest, ResetBehavesLikeAFreshAnalyzer) {
    auto feed = [](AudioAnalyzer& target) {
        std::vector<AudioFeatures> results;
        target.setCaptureActive(true);
        for (int t = 1; t <= 60; ++t) {
            const auto block = noiseBurst(800, static_cast<std::uint32_t>(t % 7 == 0 ? t : 1));
            const AudioBuffer buffer = bufferOf(block);
            target.ingest({&buffer, 1}, interleaved(48000, 1), AudioInput::microphone);
            results.push_back(target.analyze(t / 60.0));
        }
        return results;
    };
    analyzer.setMicrophoneSensitivity(3.0f);
    const auto first = feed(analyzer);
    analyzer.reset();
    AudioAnalyzer fresh;
    fresh.setMicrophoneSensitivity(3.0f);
    EXPECT_EQ(feed(analyzer), feed(fresh));
    EXPECT_NE(feed(fresh), first); // without a reset the trackers carry on
}

TEST_F(AudioAnalyzerTest, CaptureThreadsAnalysisAndResetsRunConcurrently) {
    std::atomic<bool> stop{false};
    auto capture = [&](AudioInput input, std::uint32_t flags) {
        const auto samples = noiseBurst(1024, 5);
        const AudioBuffer buffers[] = {bufferOf(samples), bufferOf(samples)};
        while (!stop.load())
            analyzer.ingest(buffers, AudioStreamDescription{44100, flags, 2}, input);
    };
    std::thread system(capture, AudioInput::systemAudio, 0u);
    std::thread microphone(capture, AudioInput::microphone, vimbo::audio::kAudioFormatFlagIsNonInterleaved);
    std::thread control([&] {
        for (int i = 0; i < 50; ++i) {
            analyzer.reset();
            analyzer.setCaptureActive(true);
            analyzer.setMicrophoneSensitivity(static_cast<float>(i % 9));
        }
    });
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(allFinite(tick()));
    control.join();
    stop = true;
    system.join();
    microphone.join();
}
