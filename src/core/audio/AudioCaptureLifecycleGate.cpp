#include "core/audio/AudioCaptureLifecycleGate.h"

#include <atomic>
#include <unordered_map>

namespace vimbo::audio {

namespace {

std::atomic<std::uint64_t> nextGateKey{1};

// How deep each gate's callbacks are nested on this thread.
std::unordered_map<std::uint64_t, std::int64_t>& threadDepths() {
    thread_local std::unordered_map<std::uint64_t, std::int64_t> depths;
    return depths;
}

} // namespace

AudioCaptureLifecycleGate::AudioCaptureLifecycleGate() : threadDepthKey_(nextGateKey.fetch_add(1)) {}

void AudioCaptureLifecycleGate::open() {
    std::lock_guard guard(mutex_);
    isAccepting_ = true;
}

void AudioCaptureLifecycleGate::closeAndDrain() {
    const std::int64_t depth = currentThreadDepth();
    std::unique_lock guard(mutex_);
    isAccepting_ = false;
    condition_.wait(guard, [&] { return inFlight_ <= depth; });
}

bool AudioCaptureLifecycleGate::enter() {
    std::lock_guard guard(mutex_);
    if (!isAccepting_) return false;
    ++inFlight_;
    return true;
}

std::int64_t AudioCaptureLifecycleGate::pushDepth() {
    const std::int64_t depth = currentThreadDepth();
    threadDepths()[threadDepthKey_] = depth + 1;
    return depth;
}

void AudioCaptureLifecycleGate::leave(std::int64_t previousDepth) {
    if (previousDepth != 0) {
        threadDepths()[threadDepthKey_] = previousDepth;
    } else {
        threadDepths().erase(threadDepthKey_);
    }
    std::lock_guard guard(mutex_);
    --inFlight_;
    condition_.notify_all();
}

std::int64_t AudioCaptureLifecycleGate::currentThreadDepth() const {
    auto& depths = threadDepths();
    auto it = depths.find(threadDepthKey_);
    return it == depths.end() ? 0 : it->second;
}

} // namespace vimbo::audio
