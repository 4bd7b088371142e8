// Capture speed against a private PulseAudio server: the delay from a click written into the default
// sink to the first analysis whose level reacts, and the capture thread's CPU while sound plays.
#include "PulseTestServer.h"

#include "core/audio/AudioAnalyzer.h"
#include "linux/PulseContext.h"
#include "linux/PulseSystemAudioCapture.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <dirent.h>
#include <fstream>
#include <numbers>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using vimbo::audio::AudioAnalyzer;
using vimbo::linuxdesktop::PulseContext;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point time) {
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

// A playback stream into a sink: silence, a tone, or a 5 ms click on request. The click's time is taken
// when its samples are handed to the server. The sink renders in blocks as small as the lowest
// latency its players ask for, and its monitor delivers at that pace.
class Player {
  public:
    static constexpr int kRate = 48000;

    Player(const char* sink, pa_usec_t latency) {
        int error = 0;
        context_ = PulseContext::connect("Vimbo bench player", error);
        if (!context_) throw std::runtime_error("no sound server");
        const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, kRate, 1};
        PulseContext::Lock lock(*context_);
        stream_.reset(pa_stream_new(context_->context(), "bench", &spec, nullptr));
        pa_stream_set_write_callback(stream_.get(), written, this);
        pa_stream_set_state_callback(
            stream_.get(), [](pa_stream*, void* self) { static_cast<Player*>(self)->context_->signal(); },
            this);
        const auto unset = static_cast<std::uint32_t>(-1);
        pa_buffer_attr attributes{unset, static_cast<std::uint32_t>(pa_usec_to_bytes(latency, &spec)), unset,
                                  unset, unset};
        pa_stream_connect_playback(
            stream_.get(), sink, &attributes,
            static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE), nullptr, nullptr);
        while (pa_stream_get_state(stream_.get()) != PA_STREAM_READY) {
            if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream_.get())))
                throw std::runtime_error("no playback");
            context_->wait();
        }
    }
    ~Player() {
        {
            PulseContext::Lock lock(*context_);
            pa_stream_set_write_callback(stream_.get(), nullptr, nullptr);
            pa_stream_set_state_callback(stream_.get(), nullptr, nullptr);
            pa_stream_disconnect(stream_.get());
            stream_.reset();
        }
        context_.reset();
    }

    // Returns when the click has been handed over, with that time.
    Clock::time_point click() {
        clickAt_ = 0;
        clickRequested_ = true;
        while (clickAt_.load() == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        return Clock::time_point(Clock::duration(clickAt_.load()));
    }
    void setTone(bool on) { tone_ = on; }

  private:
    static void written(pa_stream* stream, std::size_t bytes, void* userdata) {
        auto* self = static_cast<Player*>(userdata);
        void* data = nullptr;
        if (pa_stream_begin_write(stream, &data, &bytes) < 0 || !data) return;
        auto* samples = static_cast<float*>(data);
        const std::size_t frames = bytes / sizeof(float);
        // The server may ask for a few frames only: a click can span several requests.
        const bool click = self->clickRequested_.exchange(false);
        if (click) self->clickFramesLeft_ = kRate / 200; // 5 ms at 1 kHz
        for (std::size_t i = 0; i < frames; ++i, ++self->frame_) {
            float value = 0;
            if (self->clickFramesLeft_ > 0) value = (self->clickFramesLeft_-- / 24) % 2 ? 0.8f : -0.8f;
            if (self->tone_)
                value =
                    0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 440 * self->frame_ / kRate));
            samples[i] = value;
        }
        pa_stream_write(stream, data, frames * sizeof(float), nullptr, 0, PA_SEEK_RELATIVE);
        if (click) self->clickAt_ = Clock::now().time_since_epoch().count();
    }

    std::unique_ptr<PulseContext> context_;
    vimbo::linuxdesktop::PulseStreamPtr stream_;
    std::atomic<bool> clickRequested_{false};
    std::atomic<Clock::rep> clickAt_{0};
    std::atomic<bool> tone_{false};
    long frame_ = 0;
    int clickFramesLeft_ = 0;
};

// The sound-server loop threads of this process, by id.
std::set<std::string> loopThreads() {
    std::set<std::string> threads;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(dir)) {
            std::string id = entry->d_name;
            if (id == "." || id == "..") continue;
            std::ifstream comm("/proc/self/task/" + id + "/comm");
            std::string name;
            std::getline(comm, name);
            if (name == "threaded-ml") threads.insert(id);
        }
        closedir(dir);
    }
    return threads;
}

// Nanoseconds the thread has run on a CPU.
double cpuNanoseconds(const std::string& thread) {
    std::ifstream schedstat("/proc/self/task/" + thread + "/schedstat");
    double running = 0;
    schedstat >> running;
    return running;
}

// The thread that a capture started between the two listings runs on.
std::string newLoopThread(const std::set<std::string>& before) {
    for (const auto& thread : loopThreads()) {
        if (!before.count(thread)) return thread;
    }
    return "";
}

// A fresh monitor of a sink that was idle may stay silent for a while: waits until sound flows.
bool warmUp(Player& player, AudioAnalyzer& analyzer) {
    player.setTone(true);
    const auto end = Clock::now() + std::chrono::seconds(5);
    bool flowing = false;
    while (!flowing && Clock::now() < end) {
        flowing = analyzer.analyze(seconds(Clock::now())).level >= 0.1f;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    player.setTone(false);
    return flowing;
}

struct Capture {
    std::shared_ptr<AudioAnalyzer> analyzer = std::make_shared<AudioAnalyzer>();
    vimbo::linuxdesktop::PulseSystemAudioCapture capture;
    std::string thread;

    Capture() {
        const auto before = loopThreads();
        if (capture.start(analyzer)) throw std::runtime_error("capture did not start");
        thread = newLoopThread(before);
        analyzer->setCaptureActive(true);
    }
};

// The click test: a player asking for 5 ms of latency, so that the playback side adds little.
struct Rig {
    vimbo::testing::PulseTestServer server{vimbo::testing::SoundServer::pulseAudio};
    Player player{"vimbo_out", 5000};
    Capture capture;
    bool flowing = warmUp(player, *capture.analyzer);
};

Rig& rig() {
    static Rig instance;
    return instance;
}

void waitForSilence(AudioAnalyzer& analyzer) {
    int quiet = 0;
    while (quiet < 5) {
        quiet = analyzer.analyze(seconds(Clock::now())).level == 0 ? quiet + 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void ClickToLevel(benchmark::State& state) {
    Rig& r = rig();
    AudioAnalyzer& analyzer = *r.capture.analyzer;
    for (auto _ : state) {
        waitForSilence(analyzer);
        const auto clickedAt = r.player.click();
        // Polled far faster than the 60 Hz tick, to measure the capture path itself.
        Clock::time_point reactedAt;
        for (;;) {
            reactedAt = Clock::now();
            if (analyzer.analyze(seconds(reactedAt)).level > 0.1f) break;
            if (reactedAt - clickedAt > std::chrono::seconds(2)) {
                state.SkipWithError("the click never reached the analyzer");
                return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
        state.SetIterationTime(std::chrono::duration<double>(reactedAt - clickedAt).count());
    }
}
BENCHMARK(ClickToLevel)->UseManualTime()->Unit(benchmark::kMillisecond);

// A player on a sink of its own, asking for the latency given in milliseconds: music players ask for
// tens of milliseconds or more; 5 ms is the worst case a desktop is likely to see.
void CaptureThreadCpu(benchmark::State& state) {
    Rig& r = rig();
    r.server.setDefaultSink("vimbo_other");
    {
        Player player("vimbo_other", static_cast<pa_usec_t>(state.range(0)) * 1000);
        Capture capture;
        if (!warmUp(player, *capture.analyzer)) state.SkipWithError("no sound reached the capture");
        player.setTone(true);
        double busy = 0;
        double elapsed = 0;
        for (auto _ : state) {
            const double startCpu = cpuNanoseconds(capture.thread);
            const auto start = Clock::now();
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            const double wall = std::chrono::duration<double>(Clock::now() - start).count();
            busy += (cpuNanoseconds(capture.thread) - startCpu) / 1e9;
            elapsed += wall;
            state.SetIterationTime(wall);
        }
        state.counters["capture_cpu_percent"] = elapsed > 0 ? 100 * busy / elapsed : 0;
    }
    r.server.setDefaultSink("vimbo_out");
}
// Whole seconds of playing, so that a fraction of a percent stands out of the scheduler noise.
BENCHMARK(CaptureThreadCpu)->Arg(5)->Arg(40)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
