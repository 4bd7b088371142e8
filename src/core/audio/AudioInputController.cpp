#include "core/audio/AudioInputController.h"

#include "core/audio/AudioAnalyzer.h"
#include "core/util/ThreadChecker.h"

#include <utility>

namespace vimbo::audio {

std::shared_ptr<AudioInputController>
AudioInputController::create(platform::DefaultsStore& defaults, std::shared_ptr<AudioAnalyzer> analyzer,
                             std::unique_ptr<util::SerialQueue> queue, CaptureFactory captureFactory,
                             std::shared_ptr<MicrophonePermissionProviding> microphonePermission,
                             platform::MainQueue& mainQueue) {
    return std::make_shared<AudioInputController>(Passkey{}, defaults, std::move(analyzer), std::move(queue),
                                                  std::move(captureFactory), std::move(microphonePermission),
                                                  mainQueue);
}

AudioInputController::AudioInputController(
    Passkey, platform::DefaultsStore& defaults, std::shared_ptr<AudioAnalyzer> analyzer,
    std::unique_ptr<util::SerialQueue> queue, CaptureFactory captureFactory,
    std::shared_ptr<MicrophonePermissionProviding> microphonePermission, platform::MainQueue& mainQueue)
    : queue_(std::move(queue)), store_(defaults), analyzer_(std::move(analyzer)),
      captureFactory_(std::move(captureFactory)), microphonePermission_(std::move(microphonePermission)),
      mainQueue_(mainQueue) {
    snapshotStorage_.selectedInput = store_.load();
}

AudioInputController::~AudioInputController() = default;

template <class Work> void AudioInputController::enqueue(Work work) {
    enqueueWeakly(weak_from_this(), queue_, std::move(work));
}

template <class Work>
void AudioInputController::enqueueWeakly(const std::weak_ptr<AudioInputController>& owner,
                                         const std::weak_ptr<util::SerialQueue>& queue, Work work) {
    auto target = queue.lock();
    if (!target) return;
    target->async([owner, work = std::move(work)]() mutable {
        if (auto self = owner.lock()) work(*self);
    });
}

void AudioInputController::setOnStatus(std::function<void(AudioCaptureStatus)> onStatus) {
    enqueue([onStatus = std::move(onStatus)](AudioInputController& self) mutable {
        self.onStatus_ = std::move(onStatus);
    });
}

void AudioInputController::setOnInputChanged(std::function<void(AudioInput)> onInputChanged) {
    enqueue([onInputChanged = std::move(onInputChanged)](AudioInputController& self) mutable {
        self.onInputChanged_ = std::move(onInputChanged);
    });
}

void AudioInputController::setOnDebugLog(std::function<void(const std::string&)> onDebugLog) {
    enqueue([onDebugLog = std::move(onDebugLog)](AudioInputController& self) mutable {
        self.onDebugLog_ = std::move(onDebugLog);
    });
}

void AudioInputController::start() {
    enqueue([](AudioInputController& self) {
        self.wantsCapture_ = true;
        if (self.activeCapture_ && self.activeCapture_->isRunning()) return;
        const Token token = ++self.generation_;
        const AudioInput input = self.selectedInput();
        self.log("start requested", input, token);
        self.beginCapture(token, input);
    });
}

void AudioInputController::stop() {
    enqueue([](AudioInputController& self) {
        const AudioInput input = self.selectedInput();
        const Token token = ++self.generation_;
        self.wantsCapture_ = false;
        self.log("stop requested", input, token);
        self.stopCapture(input, token);
    });
}

void AudioInputController::select(AudioInput input) {
    enqueue([input](AudioInputController& self) {
        self.wantsCapture_ = true;
        if (self.selectedInput() == input && self.activeCapture_ && self.activeCapture_->isRunning()) {
            self.log("selection kept running capture", input, self.generation_);
            return;
        }
        const Token token = ++self.generation_;
        const AudioInput old = self.selectedInput();
        self.log("source selected", input, token);
        self.stopCapture(old, token);
        {
            std::lock_guard guard(self.snapshotLock_);
            self.snapshotStorage_.selectedInput = input;
        }
        self.store_.save(input);
        if (self.onInputChanged_) self.onInputChanged_(input);
        self.beginCapture(token, input);
    });
}

void AudioInputController::handleDeviceChange(AudioDeviceChange change) {
    enqueue([change](AudioInputController& self) {
        if (!self.wantsCapture_) return;
        const AudioInput input = self.selectedInput();
        const bool relevant =
            (change == AudioDeviceChange::defaultOutput && input == AudioInput::systemAudio) ||
            (change == AudioDeviceChange::defaultInput && input == AudioInput::microphone);
        if (!relevant) return;
        const Token token = ++self.generation_;
        self.log("relevant default-device change", input, token);
        self.stopCapture(input, token);
        self.beginCapture(token, input);
    });
}

void AudioInputController::waitUntilSettled() {
    queue_->sync([] {});
    queue_->sync([] {});
}

AudioInputSnapshot AudioInputController::snapshot() const {
    std::lock_guard guard(snapshotLock_);
    return snapshotStorage_;
}

bool AudioInputController::accepts(Token token, AudioInput input, std::string_view work) {
    util::checkOnQueue(*queue_);
    if (token == generation_ && selectedInput() == input) return true;
    log(std::string("rejected stale ").append(work), input, token);
    return false;
}

void AudioInputController::log(std::string_view event, AudioInput input, Token token) {
    if (!onDebugLog_) return;
    std::string line = "audio ";
    line.append(event).append(" input=").append(rawValue(input)).append(" generation=");
    line.append(std::to_string(token));
    onDebugLog_(line);
}

void AudioInputController::emit(AudioCaptureStatus status, AudioInput input, Token token) {
    log(std::string("status ").append(statusString(status)), input, token);
    if (onStatus_) onStatus_(status);
}

void AudioInputController::beginCapture(Token token, AudioInput input) {
    util::checkOnQueue(*queue_);
    if (!accepts(token, input, kCaptureStart)) return;
    if (input == AudioInput::systemAudio) {
        startCapture(input, token);
    } else {
        requestMicrophonePermission(token);
    }
}

void AudioInputController::setRunning(bool running) {
    std::lock_guard guard(snapshotLock_);
    snapshotStorage_.isRunning = running;
}

void AudioInputController::stopCapture(AudioInput input, Token token) {
    util::checkOnQueue(*queue_);
    if (!accepts(token, input, "capture stop")) return;
    setRunning(false);
    analyzer_->setCaptureActive(false);
    if (activeCapture_) {
        log("capture stopping", input, token);
        activeCapture_->stop();
        activeCapture_.reset();
        log("capture stopped", input, token);
    }
    analyzer_->reset();
}

void AudioInputController::startCapture(AudioInput input, Token token) {
    util::checkOnQueue(*queue_);
    if (!accepts(token, input, kCaptureStart)) return;
    std::shared_ptr<AudioCapturing> capture = captureFactory_(input);
    capture->setOnInterrupted([owner = weak_from_this(), queue = std::weak_ptr(queue_),
                               weakCapture = std::weak_ptr(capture), input] {
        // The back-end's own thread: only hand over to the queue, never own anything here.
        enqueueWeakly(owner, queue, [weakCapture, input](AudioInputController& self) {
            self.handleInterruption(weakCapture, input);
        });
    });
    activeCapture_ = capture;
    log("capture starting", input, token);

    if (auto error = capture->start(analyzer_)) {
        analyzer_->setCaptureActive(false);
        capture->stop();
        if (activeCapture_ == capture) activeCapture_.reset();
        analyzer_->reset();
        emit(input == AudioInput::microphone ? AudioCaptureStatus::microphoneUnavailable
                                             : AudioCaptureStatus::systemAudioPermissionNeeded,
             input, token);
        log("capture failed: " + describe(*error), input, token);
        log("retry scheduled for 2.5s", input, token);
        scheduleRetry(input, token);
        return;
    }
    if (accepts(token, input, "capture success")) {
        analyzer_->setCaptureActive(true);
        setRunning(true);
        emit(AudioCaptureStatus::connected, input, token);
        log("capture started", input, token);
    } else {
        analyzer_->setCaptureActive(false);
        capture->stop();
        if (activeCapture_ == capture) activeCapture_.reset();
        analyzer_->reset();
    }
}

void AudioInputController::requestMicrophonePermission(Token token) {
    util::checkOnQueue(*queue_);
    if (!accepts(token, AudioInput::microphone, "permission request")) return;
    log("requesting microphone permission", AudioInput::microphone, token);
    microphonePermission_->requestAccess(
        [owner = weak_from_this(), queue = std::weak_ptr(queue_), token](bool granted) {
            enqueueWeakly(owner, queue, [token, granted](AudioInputController& self) {
                self.completeMicrophonePermission(token, granted);
            });
        });
}

void AudioInputController::completeMicrophonePermission(Token token, bool granted) {
    util::checkOnQueue(*queue_);
    if (!accepts(token, AudioInput::microphone, "permission completion")) return;
    if (granted) {
        startCapture(AudioInput::microphone, token);
    } else {
        // A refusal waits for the user's next request; retrying would only ask again.
        emit(AudioCaptureStatus::microphonePermissionNeeded, AudioInput::microphone, token);
    }
}

void AudioInputController::handleInterruption(const std::weak_ptr<AudioCapturing>& capture,
                                              AudioInput input) {
    util::checkOnQueue(*queue_);
    auto interrupted = capture.lock();
    if (!wantsCapture_ || !interrupted || interrupted != activeCapture_) return;
    const Token token = ++generation_;
    log("capture interrupted", input, token);
    stopCapture(input, token);
    beginCapture(token, input);
}

void AudioInputController::scheduleRetry(AudioInput input, Token token) {
    util::checkOnQueue(*queue_);
    mainQueue_.postAfter(
        kRetryDelay, [owner = weak_from_this(), queue = std::weak_ptr(queue_), input, token] {
            enqueueWeakly(owner, queue,
                          [input, token](AudioInputController& self) { self.runRetry(input, token); });
        });
}

void AudioInputController::runRetry(AudioInput input, Token token) {
    util::checkOnQueue(*queue_);
    if (!accepts(token, input, "delayed retry")) return;
    log("retry running", input, token);
    beginCapture(token, input);
}

} // namespace vimbo::audio
