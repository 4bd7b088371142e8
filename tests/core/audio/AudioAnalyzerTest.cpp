#include "core/audio/AudioAnalyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

using namespace vimbo::audio;

namespace {

AudioBuffer bufferOf(const std::vector<float>& samples) {
    return AudioBuffer{1, static_cast<std::uint32_t>(samples.size() * sizeof(float)), samples.data()};
}

// Rms of a frame holding `count` samples of `value` and zeros elsewhere.
float frameRms(float value, std::size_t count) {
    return static_cast<float>(
        std::sqrt(static_cast<double>(value) * value * static_cast<double>(count) / 2048.0));
}

// Level of the first non-silent frame after a reset: the rms against the peak decayed once from 0.001.
float firstLevel(float rms) {
    return std::min(rms / std::max(0.001f * 0.9997f, rms), 1.0f);
}

// Every output lies in 0...1, which a NaN or an infinity never does.
bool inRange(const AudioFeatures& f) {
    const auto ok = [](float v) { return v >= 0.0f && v <= 1.0f; };
    return std::ranges::all_of(f.spectrum, ok) &&
           std::ranges::all_of(std::array{f.level, f.bass, f.mid, f.treble, f.energy, f.beat}, ok);
}

// One tick of a 1200 Hz tone: a whole number of periods, so steady frames repeat exactly.
std::vector<float> tone(float amplitude = 0.1f) {
    std::vector<float> samples(800);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * static_cast<double>(i % 40) / 40));
    return samples;
}

std::vector<float> noise(std::size_t count, std::uint32_t seed) {
    std::vector<float> samples(count);
    for (float& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
    }
    return samples;
}

class AudioAnalyzerTest : public ::testing::Test {
  protected:
    AudioAnalyzer analyzer;
    double now = 0;

    void SetUp() override { analyzer.setCaptureActive(true); }
    void restart() {
        analyzer.reset();
        analyzer.setCaptureActive(true);
    }
    void ingest(std::span<const AudioBuffer> buffers, double rate = 48000, std::uint32_t channels = 1,
                std::uint32_t flags = 0, AudioInput input = AudioInput::systemAudio) {
        analyzer.ingest(buffers, AudioStreamDescription{rate, flags, channels}, input);
    }
    void ingestMono(const std::vector<float>& samples, double rate = 48000,
                    AudioInput input = AudioInput::systemAudio) {
        const AudioBuffer buffer = bufferOf(samples);
        ingest({&buffer, 1}, rate, 1, 0, input);
    }
    AudioFeatures tick() { return analyzer.analyze(now += 1.0 / 60.0); }
};

} // namespace

TEST_F(AudioAnalyzerTest, ChannelLayoutsMixToOneMonoSamplePerFrame) {
    std::vector<float> stereo(1024);
    for (std::size_t i = 0; i < stereo.size() / 2; i += 2)
        stereo[i] = 0.002f; // in the first half, left 0.002 and right 0 -> 0.001
    const AudioBuffer interleaved = bufferOf(stereo);
    ingest({&interleaved, 1}, 48000, 2);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(frameRms(0.001f, 256)));
    restart(); // a format that names no channels is read as mono
    ingest({&interleaved, 1}, 48000, 0);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(frameRms(0.002f, 256)));

    // Non-interleaved: null and too-small buffers are skipped and the shortest channel, here the first,
    // sets the length.
    restart();
    const std::vector<float> left(512, 0.003f);
    const std::vector<float> right(512, 0.001f);
    const AudioBuffer planes[] = {AudioBuffer{1, 480 * sizeof(float), left.data()},
                                  AudioBuffer{1, 4096, nullptr}, bufferOf(right),
                                  AudioBuffer{1, 3, left.data()}};
    ingest(planes, 48000, 1, kAudioFormatFlagIsNonInterleaved);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(frameRms(0.002f, 480)));
}

TEST_F(AudioAnalyzerTest, BadSampleRatesNeverProduceNanOrUseTheirSamples) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double rate : {0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(), inf, 0.5, 16384001.0}) {
        SCOPED_TRACE(rate);
        restart();
        ingestMono(noise(4096, 7), rate);
        EXPECT_EQ(tick(), AudioFeatures{});
        ingest({}); // their samples never entered the ring: at a good rate the frame is still silent
        EXPECT_EQ(tick(), AudioFeatures{});
    }
    for (double rate : {1.0, 16384000.0}) { // the extremes of the usable range
        SCOPED_TRACE(rate);
        restart();
        ingestMono(noise(2048, 3), rate);
        const AudioFeatures f = tick();
        EXPECT_TRUE(inRange(f));
        EXPECT_GT(f.level, 0.0f);
    }
}

TEST_F(AudioAnalyzerTest, ToneCentredOnABinLightsOnlyTheBandsHoldingIt) {
    // The window spreads such a tone over its two neighbour bins only: bin 1 lies in the bass and the
    // first spectrum band, bin 12 (11...13) in the mid and the ninth band, bin 100 in the treble and
    // the eighteenth band (88...110).
    struct Row {
        int bin;
        bool bass, mid, treble;
        std::size_t loudest;
    };
    for (const Row& row :
         {Row{1, true, false, false, 0}, Row{12, false, true, false, 8}, Row{100, false, false, true, 17}}) {
        SCOPED_TRACE(row.bin);
        restart();
        std::vector<float> samples(2048);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = 0.1f * static_cast<float>(std::sin(2 * std::numbers::pi * row.bin * i / 2048.0));
        ingestMono(samples);
        const AudioFeatures f = tick();
        EXPECT_EQ(f.bass > 0.5f, row.bass) << f.bass;
        EXPECT_EQ(f.mid > 0.5f, row.mid) << f.mid;
        EXPECT_EQ(f.treble > 0.5f, row.treble) << f.treble;
        EXPECT_EQ(std::ranges::max_element(f.spectrum) - f.spectrum.begin(), row.loudest);
    }
    // Two equal tones: each band is its mean bin against the loudest band's, raised to 0.38. The first
    // band (bins 1 and 2) holds 3/4 of the tone at bin 1, the ninth (bins 11 to 14) 1/2 of the one at 12.
    // The first is a cosine, whose window fills bin 0 too: no band may take it in.
    restart();
    std::vector<float> samples(2048);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.1f * static_cast<float>(std::cos(2 * std::numbers::pi * i / 2048.0) +
                                               std::sin(2 * std::numbers::pi * 12 * i / 2048.0));
    ingestMono(samples);
    const AudioFeatures f = tick();
    EXPECT_FLOAT_EQ(f.spectrum[0], 1.0f);
    EXPECT_NEAR(f.spectrum[8], std::pow(2.0f / 3.0f, 0.38f), 1e-4f);
}

TEST_F(AudioAnalyzerTest, EnergyRisesAt0035FallsAt0007AndDecaysAt0006WhenIdle) {
    AudioFeatures f;
    // A steady tone repeats its frame exactly from the fourth tick: no flux, so the target is level / 2.
    auto steady = [&](float amplitude, float rate) {
        for (int t = 1; t <= 60; ++t) {
            ingestMono(tone(amplitude));
            const float before = f.energy;
            f = tick();
            if (t >= 4) {
                EXPECT_FLOAT_EQ(f.energy, before + (0.5f * f.level - before) * rate) << t;
            }
        }
    };
    ingestMono(tone());
    EXPECT_EQ(tick().energy, 0.035f); // the first frame's flux is its own peak: the target is 1
    steady(0.1f, 0.035f);
    steady(0.05f, 0.007f);

    // Inactive, then silent (an rms below 0.00005): only the energy moves, down by 0.6 % a frame.
    for (bool active : {false, true}) {
        analyzer.setCaptureActive(active);
        if (active) ingestMono(std::vector<float>(2048, 0.00004f));
        AudioFeatures expected;
        expected.energy = f.energy + (0.0f - f.energy) * 0.006f;
        EXPECT_EQ(f = tick(), expected);
    }
}

TEST_F(AudioAnalyzerTest, BeatsNeedMoreThan016SecondsBetweenThem) {
    // A steady tone (identical frames: no flux, no beat) with noise bursts at the given ticks; returns
    // the ticks with a beat.
    auto beatTicks = [&](std::vector<int> bursts) {
        restart();
        std::vector<int> beats;
        for (int t = 1; t <= 120; ++t) {
            std::vector<float> block = tone();
            if (std::ranges::count(bursts, t))
                std::ranges::transform(block, noise(800, static_cast<std::uint32_t>(t)), block.begin(),
                                       std::plus{});
            ingestMono(block);
            if (analyzer.analyze(t / 60.0).beat > 0) beats.push_back(t);
        }
        return beats;
    };
    EXPECT_EQ(beatTicks({60, 66}), (std::vector<int>{60}));     // 0.1 s apart
    EXPECT_EQ(beatTicks({60, 72}), (std::vector<int>{60, 72})); // 0.2 s apart
}

// A reset forgets everything the trackers learnt (peaks, means, flux history, the last beat, the
// previous spectrum), so the same music then gives exactly what a new analyzer gives.
TEST_F(AudioAnalyzerTest, AResetStartsAfresh) {
    const auto play = [](AudioAnalyzer& target) {
        std::vector<AudioFeatures> frames;
        for (std::uint32_t t = 1; t <= 120; ++t) {
            const auto block = noise(800, t % 7 == 0 ? t : 1); // new noise every seventh frame
            const AudioBuffer buffer = bufferOf(block);
            target.ingest({&buffer, 1}, AudioStreamDescription{48000, 0, 1}, AudioInput::systemAudio);
            frames.push_back(target.analyze(t / 60.0));
        }
        return frames;
    };
    const auto first = play(analyzer);
    restart();
    AudioAnalyzer fresh;
    fresh.setCaptureActive(true);
    EXPECT_EQ(play(analyzer), play(fresh));
    EXPECT_NE(play(fresh), first); // without a reset the trackers carry on
}

TEST_F(AudioAnalyzerTest, MicrophoneInputIsClampedGatedOnEveryFrameAndScaled) {
    analyzer.setMicrophoneSensitivity(20.0f);
    EXPECT_EQ(analyzer.microphoneSensitivity(), 8.0f);
    analyzer.setMicrophoneSensitivity(0.25f);
    // Silent frames move the gate too: they pull its floor to the minimum, so a quiet voice then opens
    // it at once, which a gate still at its first floor (0.01) would keep shut. The gate's first gain
    // (0.55) and the sensitivity both scale the rms, which stays under the first peak.
    ingestMono(std::vector<float>(2048, 0.0f), 48000, AudioInput::microphone);
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ(tick(), AudioFeatures{});
    ingestMono(std::vector<float>(2048, 0.002f), 48000, AudioInput::microphone);
    EXPECT_FLOAT_EQ(tick().level, firstLevel(0.25f * 0.55f * frameRms(0.002f, 2048)));
}

// Run under the thread sanitizer: capture, analysis and resets on three threads at once.
TEST_F(AudioAnalyzerTest, CaptureThreadsAnalysisAndResetsRunConcurrently) {
    std::atomic<bool> stop{false};
    std::thread capture([&] { // both layouts, both inputs
        const auto samples = noise(1024, 5);
        const AudioBuffer buffers[] = {bufferOf(samples), bufferOf(samples)};
        for (std::uint32_t i = 0; !stop.load(); ++i)
            ingest(buffers, 44100, 2, i % 2 == 0 ? 0u : kAudioFormatFlagIsNonInterleaved,
                   i % 3 == 0 ? AudioInput::systemAudio : AudioInput::microphone);
    });
    std::thread control([&] {
        for (int i = 0; i < 50; ++i) {
            restart();
            analyzer.setMicrophoneSensitivity(static_cast<float>(i % 9));
        }
    });
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(inRange(tick()));
    control.join();
    stop = true;
    capture.join();
}
