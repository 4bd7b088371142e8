#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace vimbo::testing {

// A private PulseAudio server for one test process: its own HOME and runtime directory, two null sinks
// ("vimbo_out", the default, and "vimbo_other") and a microphone "vimbo_mic" that records the null sink
// "vimbo_mic_sink". PULSE_SERVER points this process at it. A watchdog kills it if the test dies.
class PulseTestServer {
  public:
    PulseTestServer();
    ~PulseTestServer();
    PulseTestServer(const PulseTestServer&) = delete;
    PulseTestServer& operator=(const PulseTestServer&) = delete;

    void start();
    void kill();

    // Runs a command with this server's environment; returns its standard output.
    std::string run(const std::string& command) const;
    void setDefaultSink(const std::string& sink) const;
    // Record streams that clients have open, as the indexes of the sources they record.
    std::vector<std::string> recordStreamSources() const;
    std::string sourceIndex(const std::string& name) const;
    std::string environment() const;

  private:
    std::string killCommand() const;

    std::string directory_;
};

// Plays a sine (or silence, at amplitude 0) into a sink in real time until destroyed.
class TonePlayer {
  public:
    TonePlayer(const PulseTestServer& server, const std::string& sink, double frequency, float amplitude);
    ~TonePlayer();
    TonePlayer(const TonePlayer&) = delete;
    TonePlayer& operator=(const TonePlayer&) = delete;

  private:
    FILE* pipe_;
    std::atomic<bool> stopping_{false};
    std::thread writer_;
};

} // namespace vimbo::testing
