#include "core/audio/AudioInputController.h"

#include "core/audio/AudioAnalyzer.h"
#include "fakes/FakeCapture.h"
#include "fakes/FakeMicrophonePermission.h"
#include "fakes/InMemoryDefaults.h"
#include "fakes/ManualMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace vimbo::audio;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::IsSupersetOf;
using vimbo::fakes::FakeCapture;

class AudioInputControllerTest : public testing::Test {
  protected:
    void SetUp() override { build(); }

    void build() {
        controller = AudioInputController::create(
            defaults, analyzer,
            std::make_unique<vimbo::util::SerialQueue>(std::string(AudioInputController::kQueueLabel)),
            [this](AudioInput input) {
                std::lock_guard guard(mutex_);
                const bool mic = input == AudioInput::microphone;
                auto capture = std::make_shared<FakeCapture>(mic ? micFailure : systemFailure);
                (mic ? micCaptures : systemCaptures).push_back(capture);
                return capture;
            },
            permission, mainQueue);
        // The status and input callbacks are the delegate's: its tests follow them to the page.
        controller->setOnDebugLog([this](const std::string& line) {
            std::lock_guard guard(mutex_);
            lines.push_back(line);
        });
    }

    // Waits until everything queued on "vimbo.audio-control" so far has run.
    void flush() { controller->waitUntilSettled(); }
    // Fires the pending retries and lets the work they queue run.
    void fireRetries() {
        mainQueue.runPending();
        flush();
    }
    // The log lines since the last call.
    std::vector<std::string> log() {
        std::lock_guard guard(mutex_);
        return std::exchange(lines, {});
    }

    vimbo::fakes::InMemoryDefaults defaults;
    std::shared_ptr<AudioAnalyzer> analyzer = std::make_shared<AudioAnalyzer>();
    std::shared_ptr<vimbo::fakes::FakeMicrophonePermission> permission =
        std::make_shared<vimbo::fakes::FakeMicrophonePermission>();
    vimbo::fakes::ManualMainQueue mainQueue;
    std::shared_ptr<AudioInputController> controller;

    std::mutex mutex_;
    const AudioCaptureError tapFailure =
        AudioCaptureError::withStatus(AudioCaptureError::Kind::tapCreationFailed, 5);
    std::optional<AudioCaptureError> systemFailure;
    std::optional<AudioCaptureError> micFailure;
    std::vector<std::shared_ptr<FakeCapture>> systemCaptures;
    std::vector<std::shared_ptr<FakeCapture>> micCaptures;
    std::vector<std::string> lines;
};

TEST_F(AudioInputControllerTest, StartRunsSystemAudioOnceAndStopReturnsToIdle) {
    controller->start();
    flush();
    EXPECT_THAT(log(), ElementsAre("audio start requested input=systemAudio generation=1",
                                   "audio capture starting input=systemAudio generation=1",
                                   "audio status ok input=systemAudio generation=1",
                                   "audio capture started input=systemAudio generation=1"));
    EXPECT_EQ(controller->snapshot(), (AudioInputSnapshot{AudioInput::systemAudio, true}));

    controller->stop();
    flush();
    EXPECT_THAT(log(), Contains("audio stop requested input=systemAudio generation=2"));
    EXPECT_EQ(controller->snapshot(), (AudioInputSnapshot{AudioInput::systemAudio, false}));
    EXPECT_FALSE(analyzer->captureActive());
    EXPECT_EQ(systemCaptures[0]->stops, 1);
}

TEST_F(AudioInputControllerTest, FailedStartReportsOncePerAttemptAndRetriesWithoutLimit) {
    systemFailure = tapFailure;
    controller->start();
    flush();
    EXPECT_THAT(log(),
                IsSupersetOf({"audio status waiting-system-permission input=systemAudio generation=1",
                              "audio capture failed: tapCreationFailed(5) input=systemAudio generation=1",
                              "audio retry scheduled for 2.5s input=systemAudio generation=1"}));
    EXPECT_FALSE(analyzer->captureActive());
    EXPECT_EQ(systemCaptures[0]->stops, 1);
    for (std::size_t attempt = 1; attempt <= 6; ++attempt) {
        EXPECT_EQ(systemCaptures.size(), attempt);
        EXPECT_THAT(mainQueue.pendingDelays(), ElementsAre(2.5));
        fireRetries();
    }
    EXPECT_THAT(log(), Contains("audio retry running input=systemAudio generation=1"));

    systemFailure.reset();
    fireRetries();
    EXPECT_TRUE(controller->snapshot().isRunning);
    EXPECT_THAT(mainQueue.pendingDelays(), IsEmpty());
}

TEST_F(AudioInputControllerTest, SwitchingSourceStopsOldSavesAndAsksForMicrophone) {
    controller->select(AudioInput::systemAudio);
    flush();
    log();
    controller->select(AudioInput::microphone);
    flush();
    EXPECT_THAT(log(), ElementsAre("audio source selected input=microphone generation=2",
                                   "audio capture stopping input=systemAudio generation=2",
                                   "audio capture stopped input=systemAudio generation=2",
                                   "audio requesting microphone permission input=microphone generation=2"));
    EXPECT_EQ(systemCaptures[0]->stops, 1);
    EXPECT_EQ(defaults.readString("audioInput"), "microphone");

    permission->answerPending(true);
    flush();
    EXPECT_EQ(controller->snapshot(), (AudioInputSnapshot{AudioInput::microphone, true}));
    log();
    controller->select(AudioInput::microphone); // already running: kept
    flush();
    EXPECT_THAT(log(), ElementsAre("audio selection kept running capture input=microphone generation=2"));
}

TEST_F(AudioInputControllerTest, RetryPendingFromFormerSelectionIsRejected) {
    systemFailure = tapFailure;
    controller->select(AudioInput::systemAudio);
    flush();
    permission->answerAtOnce(true);
    controller->select(AudioInput::microphone);
    flush();
    fireRetries();
    EXPECT_THAT(log(), Contains("audio rejected stale delayed retry input=systemAudio generation=1"));
    EXPECT_EQ(systemCaptures[0]->stops, 1); // on its failure, and never again: it was let go then
}

// An answer to a request made before a stop starts nothing; a refusal waits for the next request.
TEST_F(AudioInputControllerTest, PermissionAnswerAfterStopIsStaleAndRefusalWaitsWithoutRetry) {
    controller->select(AudioInput::microphone);
    controller->stop();
    flush();
    permission->answerPending(true);
    flush();
    EXPECT_THAT(log(), Contains("audio rejected stale permission completion input=microphone generation=1"));
    controller->start();
    flush();
    permission->answerPending(false);
    flush();
    EXPECT_THAT(log(), Contains("audio status waiting-microphone-permission input=microphone generation=3"));
    EXPECT_THAT(mainQueue.pendingDelays(), IsEmpty());
    controller->start(); // a new request asks again
    flush();
    EXPECT_EQ(permission->requests, 3);
}

TEST_F(AudioInputControllerTest, FailedMicrophoneRetryAsksPermissionAgain) {
    permission->answerAtOnce(true);
    micFailure = AudioCaptureError{AudioCaptureError::Kind::engineStartFailed, 6, "Connection refused"};
    controller->select(AudioInput::microphone);
    flush();
    EXPECT_THAT(log(), IsSupersetOf({"audio status microphone-unavailable input=microphone generation=1",
                                     "audio capture failed: engineStartFailed(6: Connection refused) "
                                     "input=microphone generation=1"}));
    fireRetries();
    EXPECT_EQ(permission->requests, 2);
}

TEST_F(AudioInputControllerTest, OnlyRelevantDeviceChangesRestartCapture) {
    auto change = [&](AudioDeviceChange which) {
        controller->handleDeviceChange(which);
        flush();
    };
    controller->start();
    change(AudioDeviceChange::defaultInput);
    EXPECT_EQ(systemCaptures.size(), 1u);
    const std::vector<float> loud(2048, 0.1f);
    const AudioBuffer block{1, 8192, loud.data()};
    analyzer->ingest({&block, 1}, {48000, 0, 1}, AudioInput::systemAudio);
    EXPECT_GT(analyzer->analyze(1.0).level, 0.0f);
    change(AudioDeviceChange::defaultOutput);
    EXPECT_THAT(log(), Contains("audio relevant default-device change input=systemAudio generation=2"));
    ASSERT_EQ(systemCaptures.size(), 2u);
    EXPECT_EQ(systemCaptures[0]->stops, 1);
    EXPECT_EQ(analyzer->analyze(2.0), AudioFeatures{}); // the restart left no old samples or energy

    permission->answerAtOnce(true);
    controller->select(AudioInput::microphone);
    change(AudioDeviceChange::defaultOutput);
    EXPECT_EQ(micCaptures.size(), 1u);
    change(AudioDeviceChange::defaultInput);
    EXPECT_EQ(micCaptures.size(), 2u);
    controller->stop(); // what the user stopped stays stopped
    change(AudioDeviceChange::defaultInput);
    EXPECT_EQ(micCaptures.size(), 2u);
}

TEST_F(AudioInputControllerTest, InterruptionRestartsOnlyTheActiveCapture) {
    controller->start();
    flush();
    std::thread([&] { systemCaptures[0]->interrupt(); }).join();
    flush();
    EXPECT_THAT(log(), Contains("audio capture interrupted input=systemAudio generation=2"));
    ASSERT_EQ(systemCaptures.size(), 2u);
    EXPECT_EQ(systemCaptures[0]->stops, 1); // its stream is closed, not only replaced

    systemCaptures[0]->interrupt(); // already replaced
    flush();
    EXPECT_TRUE(log().empty());
    controller->stop();
    flush();
    systemCaptures[1]->interrupt(); // stopped on purpose
    flush();
    EXPECT_EQ(systemCaptures.size(), 2u);
}

TEST_F(AudioInputControllerTest, StoredInputLoadsOnlyExactMicrophone) {
    for (auto [stored, expected] : {std::pair{"microphone", AudioInput::microphone},
                                    std::pair{"Microphone", AudioInput::systemAudio}}) {
        defaults.writeString("audioInput", stored);
        build();
        EXPECT_EQ(controller->snapshot().selectedInput, expected) << stored;
    }
}

TEST_F(AudioInputControllerTest, WorkOutlivingTheControllerDoesNothing) {
    systemFailure = tapFailure;
    controller->start();
    flush();
    controller->select(AudioInput::microphone);
    std::weak_ptr<AudioInputController> gone = controller;
    controller.reset(); // runs what was queued, against a controller that is gone
    // The queue's worker may hold the last reference for a moment; wait for it to let go.
    while (!gone.expired())
        std::this_thread::yield();
    mainQueue.runPending();
    permission->answerPending(true);
    EXPECT_EQ(systemCaptures.size(), 1u);
    EXPECT_TRUE(micCaptures.empty());
}
