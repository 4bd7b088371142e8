// vimbo-democlip FILE: writes six seconds of synthetic music (a kick on every beat, a bass line on
// eighth notes and hi-hats between the beats) at 48 kHz stereo, so the analyzer has something to show.
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 48000;
constexpr int kSeconds = 6;
constexpr double kBeat = 0.5; // 120 beats per minute
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double kick(double t) {
    // A falling sine: the pitch drops from 150 Hz toward 50 Hz as it fades.
    const double phase = kTwoPi * (50.0 * t + 100.0 * 0.03 * (1.0 - std::exp(-t / 0.03)));
    return 0.9 * std::exp(-t / 0.12) * std::sin(phase);
}

double bass(double t, double frequency) {
    double sum = 0;
    for (int harmonic = 1; harmonic <= 6; ++harmonic)
        sum += std::sin(kTwoPi * frequency * harmonic * t) / harmonic;
    return 0.25 * std::exp(-t / 0.2) * sum;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vimbo-democlip FILE\n");
        return 2;
    }
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "vimbo-democlip: cannot write %s: %s\n", argv[1], sf_strerror(nullptr));
        return 1;
    }

    const double notes[] = {55.0, 55.0, 65.41, 73.42, 55.0, 82.41, 73.42, 65.41}; // A1 C2 D2 E2
    const int frames = kRate * kSeconds;
    std::vector<float> samples(static_cast<std::size_t>(frames) * 2);
    std::uint32_t seed = 12345;
    double previousNoise = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double inBeat = std::fmod(t, kBeat);
        const double inEighth = std::fmod(t, kBeat / 2);
        const int eighth = static_cast<int>(t / (kBeat / 2)) % 8;
        seed = seed * 1664525u + 1013904223u;
        const double noise = static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
        const double hissHighPassed = noise - previousNoise; // a first difference keeps the high end
        previousNoise = noise;
        const double hatTime = std::fmod(t + kBeat / 2, kBeat);
        const double hat = 0.35 * std::exp(-hatTime / 0.03) * hissHighPassed;
        const double drums = kick(inBeat);
        const double line = bass(inEighth, notes[eighth]);
        samples[2 * static_cast<std::size_t>(i)] = static_cast<float>(0.8 * (drums + line + 1.2 * hat));
        samples[2 * static_cast<std::size_t>(i) + 1] = static_cast<float>(0.8 * (drums + line + 0.8 * hat));
    }
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    const bool closed = sf_close(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "vimbo-democlip: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
