#include "PulseTestServer.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace vimbo::testing {

namespace {

std::string capture(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

} // namespace

PulseTestServer::PulseTestServer() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp ? tmp : "/tmp") + "/vimbo-pulse-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no private directory for the test server");
    directory_ = pattern;
    setenv("PULSE_SERVER", ("unix:" + directory_ + "/runtime/native").c_str(), 1);
    // Should the test die, the server must not outlive it.
    std::system(("sh -c 'while kill -0 " + std::to_string(getpid()) + " 2>/dev/null; do sleep 0.5; done; " +
                 killCommand() + "; rm -rf " + directory_ + "' >/dev/null 2>&1 &")
                    .c_str());
    start();
}

PulseTestServer::~PulseTestServer() {
    kill();
    std::system(("rm -rf " + directory_).c_str());
}

std::string PulseTestServer::environment() const {
    return "HOME=" + directory_ + " PULSE_RUNTIME_PATH=" + directory_ +
           "/runtime XDG_RUNTIME_DIR=" + directory_ + " PULSE_SERVER=unix:" + directory_ + "/runtime/native ";
}

void PulseTestServer::start() {
    std::string command =
        environment() + "pulseaudio --daemonize=yes --exit-idle-time=-1 -n --log-target=file:" + directory_ +
        "/log --load=module-native-protocol-unix";
    for (const char* sink : {"vimbo_out", "vimbo_other", "vimbo_mic_sink"})
        command += std::string(" --load='module-null-sink sink_name=") + sink +
                   " format=float32le rate=48000 channels=2'";
    command +=
        " --load='module-remap-source master=vimbo_mic_sink.monitor source_name=vimbo_mic' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("the test sound server did not start");
    setDefaultSink("vimbo_out");
    run("pactl set-default-source vimbo_mic");
}

// A killed daemon may linger as a zombie where nothing reaps orphans; its pid file would then make the
// next start believe it still runs, so the file goes too.
std::string PulseTestServer::killCommand() const {
    const std::string pidFile = directory_ + "/runtime/pid";
    return "[ -f " + pidFile + " ] && kill -9 $(cat " + pidFile + ") 2>/dev/null; rm -f " + pidFile;
}

void PulseTestServer::kill() {
    std::system(killCommand().c_str());
}

std::string PulseTestServer::run(const std::string& command) const {
    return capture(environment() + command);
}

void PulseTestServer::setDefaultSink(const std::string& sink) const {
    run("pactl set-default-sink " + sink);
}

std::vector<std::string> PulseTestServer::recordStreamSources() const {
    std::vector<std::string> sources;
    std::istringstream lines(run("pactl list short source-outputs"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string index, source, client;
        // Streams of the server's own modules (the remapped microphone) have no client.
        if (fields >> index >> source >> client && client != "-") sources.push_back(source);
    }
    return sources;
}

std::string PulseTestServer::sourceIndex(const std::string& name) const {
    std::istringstream lines(run("pactl list short sources"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string index, sourceName;
        if (fields >> index >> sourceName && sourceName == name) return index;
    }
    return "";
}

TonePlayer::TonePlayer(const PulseTestServer& server, const std::string& sink, double frequency,
                       float amplitude)
    : pipe_(popen((server.environment() + "pacat --playback --raw --device=" + sink +
                   " --format=float32le --rate=48000 --channels=2 --latency-msec=20")
                      .c_str(),
                  "w")) {
    if (!pipe_) throw std::runtime_error("pacat did not start");
    writer_ = std::thread([this, frequency, amplitude] {
        constexpr int kRate = 48000;
        constexpr int kChunk = 480; // 10 ms
        std::vector<float> block(kChunk * 2);
        long frame = 0;
        auto next = std::chrono::steady_clock::now();
        while (!stopping_) {
            for (int i = 0; i < kChunk; ++i, ++frame) {
                const float value =
                    amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * frequency *
                                                            static_cast<double>(frame) / kRate));
                block[2 * i] = block[2 * i + 1] = value;
            }
            if (fwrite(block.data(), sizeof(float), block.size(), pipe_) != block.size()) return;
            fflush(pipe_);
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
        }
    });
}

TonePlayer::~TonePlayer() {
    stopping_ = true;
    writer_.join();
    pclose(pipe_);
}

} // namespace vimbo::testing
