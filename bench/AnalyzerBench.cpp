// Cost of the audio analysis: one analysed frame against the bare FFT it is built on, and one capture
// block's mix-down, which runs on real-time threads and must not allocate.
#include "core/audio/AudioAnalyzer.h"
#include "core/audio/RealFft.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<std::uint64_t> allocations{0};

std::vector<float> noise(std::size_t count) {
    std::vector<float> samples(count);
    std::uint32_t seed = 1;
    for (float& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = 0.25f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
    }
    return samples;
}

using vimbo::audio::AudioAnalyzer;
using vimbo::audio::AudioBuffer;
using vimbo::audio::AudioInput;
using vimbo::audio::AudioStreamDescription;

void BM_Analyze(benchmark::State& state) {
    AudioAnalyzer analyzer;
    analyzer.setCaptureActive(true);
    const auto samples = noise(AudioAnalyzer::kRingLength);
    const AudioBuffer buffer{1, static_cast<std::uint32_t>(samples.size() * sizeof(float)), samples.data()};
    analyzer.ingest({&buffer, 1}, AudioStreamDescription{48000, 0, 1}, AudioInput::systemAudio);
    double now = 0;
    for (auto _ : state) {
        now += 1.0 / 60.0;
        benchmark::DoNotOptimize(analyzer.analyze(now));
    }
}
BENCHMARK(BM_Analyze);

void BM_Fft2048Baseline(benchmark::State& state) {
    vimbo::audio::RealFft fft;
    const auto samples = noise(vimbo::audio::RealFft::kLength);
    std::copy(samples.begin(), samples.end(), fft.input().begin());
    for (auto _ : state) {
        fft.execute();
        benchmark::DoNotOptimize(fft.output().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fft2048Baseline);

void BM_IngestStereo512(benchmark::State& state) {
    AudioAnalyzer analyzer;
    const auto samples = noise(2 * 512);
    const AudioBuffer buffer{2, static_cast<std::uint32_t>(samples.size() * sizeof(float)), samples.data()};
    const AudioStreamDescription format{48000, 0, 2};
    const std::uint64_t before = allocations.load();
    for (auto _ : state)
        analyzer.ingest({&buffer, 1}, format, AudioInput::systemAudio);
    const std::uint64_t counted = allocations.load() - before;
    state.counters["allocs_per_ingest"] =
        benchmark::Counter(static_cast<double>(counted) / static_cast<double>(state.iterations()));
    if (counted != 0) state.SkipWithError("ingest allocated on the heap");
}
BENCHMARK(BM_IngestStereo512);

} // namespace

// Every heap allocation in this program goes through here, so ingest's allocations can be counted.
[[gnu::noinline]] void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}
