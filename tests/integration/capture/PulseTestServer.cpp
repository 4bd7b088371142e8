#include "PulseTestServer.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vimbo::testing {

namespace {

std::string capture(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    if (pipe) pclose(pipe);
    return output;
}

} // namespace

PulseTestServer::PulseTestServer(SoundServer kind) : kind_(kind) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp ? tmp : "/tmp") + "/vimbo-pulse-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no private directory for the test server");
    directory_ = pattern;
    setenv("PULSE_SERVER",
           ("unix:" + directory_ + (kind_ == SoundServer::pipeWire ? "/pulse/native" : "/runtime/native"))
               .c_str(),
           1);
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
    if (kind_ == SoundServer::pipeWire) {
        return "HOME=" + directory_ + " XDG_RUNTIME_DIR=" + directory_ +
               " PIPEWIRE_RUNTIME_DIR=" + directory_ + " DBUS_SESSION_BUS_ADDRESS=" + busAddress_ +
               " PULSE_SERVER=unix:" + directory_ + "/pulse/native ";
    }
    return "HOME=" + directory_ + " PULSE_RUNTIME_PATH=" + directory_ +
           "/runtime XDG_RUNTIME_DIR=" + directory_ + " PULSE_SERVER=unix:" + directory_ + "/runtime/native ";
}

void PulseTestServer::start() {
    if (kind_ == SoundServer::pipeWire) {
        launchPipeWire();
    } else {
        const std::string command =
            environment() +
            "pulseaudio --daemonize=yes --exit-idle-time=-1 -n --log-target=file:" + directory_ +
            "/log --load=module-native-protocol-unix >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("the test sound server did not start");
    }
    addDevices();
}

bool PulseTestServer::installed(SoundServer kind) {
    const std::string programs =
        kind == SoundServer::pipeWire ? "pipewire wireplumber pipewire-pulse" : "pulseaudio";
    return std::system(("command -v " + programs + " >/dev/null 2>&1").c_str()) == 0;
}

// The daemons run in the background, their pids kept for kill(); the PulseAudio side is ready once
// pactl reaches it, and the session manager once it has taken a default sink.
void PulseTestServer::launchPipeWire() {
    busAddress_ =
        capture("dbus-daemon --session --fork --print-address=1 --print-pid=3 3>>" + directory_ + "/pids");
    busAddress_.erase(busAddress_.find_last_not_of('\n') + 1);
    if (busAddress_.empty()) throw std::runtime_error("no session bus for the test sound server");
    // The session manager leaves the machine's sound cards, cameras and Bluetooth alone.
    const std::pair<const char*, const char*> settings[] = {
        {"main",
         "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n"},
        {"bluetooth", "bluez_monitor.enabled = false\n"}};
    for (const auto& [part, text] : settings) {
        const std::string folder = directory_ + "/.config/wireplumber/" + part + ".lua.d";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/51-vimbo-test.lua") << text;
    }
    auto launch = [this](const char* daemon) {
        std::system(
            (environment() + daemon + " >>" + directory_ + "/log 2>&1 & echo $! >>" + directory_ + "/pids")
                .c_str());
    };
    // The other two give up at once when PipeWire's socket is not there yet.
    launch("pipewire");
    for (int i = 0; i < 400 && !std::filesystem::exists(directory_ + "/pipewire-0"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    launch("wireplumber");
    launch("pipewire-pulse");
    for (int i = 0; i < 400; ++i) { // generous: two cores may be busy with other tests
        if (run("pactl info >/dev/null 2>&1 && echo up") == "up\n") return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("the test sound server did not start");
}

void PulseTestServer::addDevices() {
    for (const char* sink : {"vimbo_out", "vimbo_other", "vimbo_mic_sink"})
        run(std::string("pactl load-module module-null-sink sink_name=") + sink +
            " format=float32le rate=48000 channels=2");
    run("pactl load-module module-remap-source master=vimbo_mic_sink.monitor source_name=vimbo_mic");
    // PipeWire's session manager may still be starting: until then pactl cannot set defaults.
    for (int i = 0; i < 400; ++i) {
        run("pactl set-default-sink vimbo_out 2>/dev/null; pactl set-default-source vimbo_mic 2>/dev/null");
        if (run("pactl get-default-sink") == "vimbo_out\n" &&
            run("pactl get-default-source") == "vimbo_mic\n")
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("the test sound server did not take its default devices; its log ends with:\n" +
                             capture("tail -n 30 " + directory_ + "/log"));
}

// A killed daemon may linger as a zombie where nothing reaps orphans; its pid file would then make the
// next start believe it still runs, so the file goes too.
std::string PulseTestServer::killCommand() const {
    const std::string pidFile = directory_ + (kind_ == SoundServer::pipeWire ? "/pids" : "/runtime/pid");
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

std::vector<std::string> PulseTestServer::recordedSources() const {
    std::map<std::string, std::string> names; // by index
    std::istringstream sources(run("pactl list short sources | cut -f1,2"));
    for (std::string index, name; sources >> index >> name;)
        names[index] = name;
    // Streams of the server's own modules (the remapped microphone) have no client.
    std::istringstream streams(run("pactl list short source-outputs | awk '$3 != \"-\" {print $2}'"));
    std::vector<std::string> recorded;
    for (std::string index; streams >> index;)
        recorded.push_back(names[index]);
    return recorded;
}

TonePlayer::TonePlayer(const PulseTestServer& server, const std::string& sink, int frequency, float amplitude)
    : pipe_(popen((server.environment() + "pacat --playback --raw --device=" + sink +
                   " --format=float32le --rate=48000 --channels=2 --latency-msec=20")
                      .c_str(),
                  "w")) {
    if (!pipe_) throw std::runtime_error("pacat did not start");
    // 10 ms of stereo at 48 kHz: whole periods of a frequency in hundreds of hertz, so the block repeats.
    std::vector<float> block(960);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * frequency *
                                                           static_cast<double>(i / 2) / 48000));
    writer_ = std::thread([this, block] {
        for (auto next = std::chrono::steady_clock::now(); !stopping_;
             std::this_thread::sleep_until(next += std::chrono::milliseconds(10))) {
            if (fwrite(block.data(), sizeof(float), block.size(), pipe_) != block.size()) return;
            fflush(pipe_);
        }
    });
}

TonePlayer::~TonePlayer() {
    stopping_ = true;
    writer_.join();
    pclose(pipe_);
}

} // namespace vimbo::testing
