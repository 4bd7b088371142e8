#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace vimbo::testing {

// The two sound servers desktops run: PulseAudio itself, and PipeWire with its PulseAudio server
// (pipewire-pulse and the wireplumber session manager), which Debian's GNOME uses.
enum class SoundServer { pulseAudio, pipeWire };

// A private sound server for one test process: its own HOME and runtime directory, two null sinks
// ("vimbo_out", the default, and "vimbo_other") and a microphone "vimbo_mic" that records the null sink
// "vimbo_mic_sink". PULSE_SERVER points this process at it. A watchdog kills it if the test dies.
class PulseTestServer {
  public:
    explicit PulseTestServer(SoundServer kind);
    // Whether this machine has the server's programs (PipeWire's are left to the machine's owner:
    // installing them makes PipeWire a PulseAudio desktop's sound server at the next login).
    static bool installed(SoundServer kind);
    ~PulseTestServer();
    PulseTestServer(const PulseTestServer&) = delete;
    PulseTestServer& operator=(const PulseTestServer&) = delete;

    void start();
    void kill();

    // Runs a command with this server's environment; returns its standard output.
    std::string run(const std::string& command) const;
    void setDefaultSink(const std::string& sink) const;
    // The names of the sources that clients' record streams read.
    std::vector<std::string> recordedSources() const;
    std::string environment() const;

  private:
    std::string killCommand() const;
    void launchPipeWire();
    void addDevices();

    SoundServer kind_;
    std::string directory_;
    std::string busAddress_; // PipeWire's session manager needs a session bus
};

// Plays a sine of a frequency in hundreds of hertz into a sink in real time until destroyed.
class TonePlayer {
  public:
    TonePlayer(const PulseTestServer& server, const std::string& sink, int frequency, float amplitude);
    ~TonePlayer();
    TonePlayer(const TonePlayer&) = delete;
    TonePlayer& operator=(const TonePlayer&) = delete;

  private:
    FILE* pipe_;
    std::atomic<bool> stopping_{false};
    std::thread writer_;
};

inline double monotonicNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Polls `condition` at display rate until it holds or `seconds` pass.
inline bool eventually(const std::function<bool()>& condition, double seconds) {
    for (const double end = monotonicNow() + seconds; monotonicNow() < end;) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    return false;
}

} // namespace vimbo::testing
