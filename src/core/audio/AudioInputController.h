#pragma once

#include "core/audio/AudioCaptureStatus.h"
#include "core/audio/AudioCapturing.h"
#include "core/audio/AudioInput.h"
#include "core/audio/AudioInputStore.h"
#include "core/audio/MicrophonePermissionProviding.h"
#include "core/platform/MainQueue.h"
#include "core/util/SerialQueue.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vimbo::audio {

class AudioAnalyzer;

struct AudioInputSnapshot {
    AudioInput selectedInput = AudioInput::systemAudio;
    bool isRunning = false;

    friend bool operator==(const AudioInputSnapshot&, const AudioInputSnapshot&) = default;
};

// Decides which capture source runs, starts and stops it, retries failed starts and follows device
// changes and interruptions. Every state change runs on its serial queue; each piece of queued work
// carries the generation it was issued under and is dropped once a newer request has superseded it.
class AudioInputController : public std::enable_shared_from_this<AudioInputController> {
  public:
    using CaptureFactory = std::function<std::shared_ptr<AudioCapturing>(AudioInput)>;

    static constexpr std::string_view kQueueLabel = "vimbo.audio-control";
    static constexpr double kRetryDelay = 2.5;

    // `defaults` and `mainQueue` must outlive the controller; failed starts are retried through
    // `mainQueue` 2.5 s later.
    static std::shared_ptr<AudioInputController>
    create(platform::DefaultsStore& defaults, std::shared_ptr<AudioAnalyzer> analyzer,
           std::unique_ptr<util::SerialQueue> queue, CaptureFactory captureFactory,
           std::shared_ptr<MicrophonePermissionProviding> microphonePermission,
           platform::MainQueue& mainQueue);
    ~AudioInputController();
    AudioInputController(const AudioInputController&) = delete;
    AudioInputController& operator=(const AudioInputController&) = delete;

    // The callbacks run on "vimbo.audio-control"; the owner moves to its own thread itself.
    void setOnStatus(std::function<void(AudioCaptureStatus)> onStatus);
    void setOnInputChanged(std::function<void(AudioInput)> onInputChanged);
    void setOnDebugLog(std::function<void(const std::string&)> onDebugLog);

    // Each returns at once; the work runs on the queue.
    void start();
    void stop();
    void select(AudioInput input);
    void handleDeviceChange(AudioDeviceChange change);

    // Waits until the work queued before the call has run, with what that work queued in turn (a
    // permission answered at once). Never from the controller's own queue.
    void waitUntilSettled();

    // Any thread.
    AudioInputSnapshot snapshot() const;
    const std::shared_ptr<AudioAnalyzer>& analyzer() const { return analyzer_; }

  private:
    struct Passkey {};

  public:
    AudioInputController(Passkey, platform::DefaultsStore& defaults, std::shared_ptr<AudioAnalyzer> analyzer,
                         std::unique_ptr<util::SerialQueue> queue, CaptureFactory captureFactory,
                         std::shared_ptr<MicrophonePermissionProviding> microphonePermission,
                         platform::MainQueue& mainQueue);

  private:
    using Token = std::int64_t;
    static constexpr std::string_view kCaptureStart = "capture start";

    template <class Work> void enqueue(Work work);
    template <class Work>
    static void enqueueWeakly(const std::weak_ptr<AudioInputController>& owner,
                              const std::weak_ptr<util::SerialQueue>& queue, Work work);

    // All below run on "vimbo.audio-control".
    bool accepts(Token token, AudioInput input, std::string_view work);
    void log(std::string_view event, AudioInput input, Token token);
    void emit(AudioCaptureStatus status, AudioInput input, Token token);
    void beginCapture(Token token, AudioInput input);
    void startCapture(AudioInput input, Token token);
    void stopCapture(AudioInput input, Token token);
    void requestMicrophonePermission(Token token);
    void completeMicrophonePermission(Token token, bool granted);
    void handleInterruption(const std::weak_ptr<AudioCapturing>& capture, AudioInput input);
    void scheduleRetry(AudioInput input, Token token);
    void runRetry(AudioInput input, Token token);
    void setRunning(bool running);
    AudioInput selectedInput() const { return snapshot().selectedInput; }

    // First, so that it goes last: its worker may still be running work that reads the fields below.
    std::shared_ptr<util::SerialQueue> queue_;
    std::function<void(AudioCaptureStatus)> onStatus_;
    std::function<void(AudioInput)> onInputChanged_;
    std::function<void(const std::string&)> onDebugLog_;
    AudioInputStore store_;
    std::shared_ptr<AudioAnalyzer> analyzer_;
    CaptureFactory captureFactory_;
    std::shared_ptr<MicrophonePermissionProviding> microphonePermission_;
    platform::MainQueue& mainQueue_;
    mutable std::mutex snapshotLock_;
    Token generation_ = 0;
    std::shared_ptr<AudioCapturing> activeCapture_;
    bool wantsCapture_ = false;
    AudioInputSnapshot snapshotStorage_;
};

} // namespace vimbo::audio
