#include "PulseTestServer.h"

#include "core/app/DefaultDeviceListeners.h"
#include "core/audio/AudioAnalyzer.h"
#include "core/audio/AudioInputController.h"
#include "fakes/InMemoryDefaults.h"
#include "fakes/ManualMainQueue.h"
#include "linux/DesktopMicrophonePermission.h"
#include "linux/PulseCaptureFactory.h"
#include "linux/PulseDefaultDevices.h"
#include "linux/PulseMicrophoneCapture.h"
#include "linux/PulseSystemAudioCapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

using namespace vimbo::audio;
using testing::ElementsAre;
using vimbo::testing::PulseTestServer;
using vimbo::testing::SoundServer;
using vimbo::testing::TonePlayer;

using vimbo::testing::eventually;
using vimbo::testing::monotonicNow;

class CaptureIntegrationTest : public testing::TestWithParam<SoundServer> {
  protected:
    void SetUp() override {
        if (!PulseTestServer::installed(GetParam()))
            GTEST_SKIP() << "the sound server's programs are not installed";
        server.emplace(GetParam());
        auto queue =
            std::make_unique<vimbo::util::SerialQueue>(std::string(AudioInputController::kQueueLabel));
        controller = AudioInputController::create(
            defaults, analyzer, std::move(queue), vimbo::linuxdesktop::pulseCaptureFactory(),
            std::make_shared<vimbo::linuxdesktop::DesktopMicrophonePermission>(), mainQueue);
        controller->setOnDebugLog([this](const std::string& line) { addLine(line); });
    }

    void TearDown() override {
        if (!controller) return;
        controller->stop();
        flush();
    }

    void flush() { controller->waitUntilSettled(); }
    void addLine(const std::string& line) {
        std::lock_guard guard(mutex_);
        lines.push_back(line);
    }

    // Analyses at display rate until the features satisfy `condition`.
    bool analyzesUntil(const std::function<bool(const AudioFeatures&)>& condition, double seconds = 5) {
        return eventually([&] { return condition(analyzer->analyze(monotonicNow())); }, seconds);
    }
    bool hearsSound() {
        return analyzesUntil([](const AudioFeatures& f) { return f.level > 0.5f; });
    }
    // Runs the main queue's work (device events, retries) until `condition` holds.
    bool pumpsUntil(const std::function<bool()>& condition, double seconds = 10) {
        return eventually(
            [&] {
                mainQueue.runPending();
                flush();
                return condition();
            },
            seconds);
    }
    bool logged(const std::string& line) {
        std::lock_guard guard(mutex_);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::optional<PulseTestServer> server;
    vimbo::fakes::InMemoryDefaults defaults;
    vimbo::fakes::ManualMainQueue mainQueue;
    std::shared_ptr<AudioAnalyzer> analyzer = std::make_shared<AudioAnalyzer>();
    std::shared_ptr<AudioInputController> controller;
    std::mutex mutex_;
    std::vector<std::string> lines;
};

// The band a tone lands in shows that the stream's rate and channel layout were read right. Switching
// to the microphone leaves one stream, on the default source.
TEST_P(CaptureIntegrationTest, TonesLeadTheirBandFromTheSystemAudioAndThenFromTheMicrophone) {
    controller->start();
    flush();
    {
        TonePlayer treble(*server, "vimbo_out", 4500, 0.5f);
        EXPECT_TRUE(analyzesUntil([](const AudioFeatures& f) { // 4056...5063 Hz
            return f.level > 0.5f && f.treble > 0.5f &&
                   std::ranges::max_element(f.spectrum) - f.spectrum.begin() == 20;
        })) << "the tone never led the spectrum";
    }
    controller->select(AudioInput::microphone);
    flush();
    EXPECT_THAT(server->recordedSources(), ElementsAre("vimbo_mic"));
    ASSERT_TRUE(analyzesUntil([](const AudioFeatures& f) { return f.level < 0.1f; }));
    TonePlayer voice(*server, "vimbo_mic_sink", 400, 0.5f);
    EXPECT_TRUE(hearsSound());
}

TEST_P(CaptureIntegrationTest, RestartedServerBringsCaptureBack) {
    // The devices follow the server through the main queue, as in the application.
    auto devices = vimbo::linuxdesktop::PulseDefaultDevices::create(mainQueue);
    auto listeners = std::make_shared<vimbo::app::DefaultDeviceListeners>(
        *devices, [this](const std::string& line) { addLine(line); },
        [controller = controller](AudioDeviceChange change) { controller->handleDeviceChange(change); });
    listeners->install();
    controller->start();
    flush();
    server->kill();
    ASSERT_TRUE(pumpsUntil([&] { return logged("default output changed to ?"); }));
    EXPECT_FALSE(controller->snapshot().isRunning);
    // Without a server neither back-end finds a device.
    EXPECT_EQ(vimbo::linuxdesktop::PulseSystemAudioCapture().start(analyzer),
              AudioCaptureError::plain(AudioCaptureError::Kind::noOutputDevice));
    EXPECT_EQ(vimbo::linuxdesktop::PulseMicrophoneCapture().start(analyzer),
              AudioCaptureError::plain(AudioCaptureError::Kind::noInputDevice));

    server->start();
    ASSERT_TRUE(pumpsUntil(
        [&] { return controller->snapshot().isRunning && logged("default output changed to vimbo_out"); }));
    TonePlayer tone(*server, "vimbo_out", 400, 0.5f);
    EXPECT_TRUE(hearsSound());
    EXPECT_THAT(server->recordedSources(), ElementsAre("vimbo_out.monitor"));
}

TEST_P(CaptureIntegrationTest, RemovedSinkInterruptsInsteadOfSwitchingSource) {
    server->setDefaultSink("vimbo_other");
    vimbo::linuxdesktop::PulseSystemAudioCapture capture;
    std::atomic<int> interruptions{0};
    capture.setOnInterrupted([&] { ++interruptions; });
    ASSERT_EQ(capture.start(analyzer), std::nullopt);
    EXPECT_EQ(capture.device(), "vimbo_other.monitor");

    server->run("pactl unload-module $(pactl list short modules | grep 'sink_name=vimbo_other' | cut -f1)");
    eventually([&] { return interruptions > 0; }, 3);
    EXPECT_FALSE(capture.isRunning());
    capture.stop();
    EXPECT_EQ(interruptions, 1);
    EXPECT_TRUE(server->recordedSources().empty());
}

// Every case runs against both servers desktops use.
INSTANTIATE_TEST_SUITE_P(, CaptureIntegrationTest,
                         testing::Values(SoundServer::pulseAudio, SoundServer::pipeWire),
                         [](const auto& info) {
                             return info.param == SoundServer::pipeWire ? "PipeWire" : "PulseAudio";
                         });
