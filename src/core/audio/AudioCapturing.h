#pragma once

#include "core/audio/AudioBufferConsumer.h"
#include "core/audio/AudioCaptureError.h"

#include <functional>
#include <memory>
#include <optional>

namespace vimbo::audio {

// A capture back-end: created for one run, started once, stopped once.
// start and stop are called on "vimbo.audio-control"; audio is delivered on the back-end's own thread.
class AudioCapturing {
  public:
    virtual ~AudioCapturing() = default;

    // True between a successful start and stop or an interruption. Any thread.
    virtual bool isRunning() const = 0;
    // Called on the back-end's thread when it stops delivering on its own. Set before start.
    virtual void setOnInterrupted(std::function<void()> onInterrupted) = 0;
    // Delivers every captured block to the consumer until stop; the consumer is held weakly.
    // A running capture ignores the call. Returns the reason when it could not start.
    virtual std::optional<AudioCaptureError> start(std::weak_ptr<AudioBufferConsumer> consumer) = 0;
    // Returns only when no audio callback of this capture runs or will run.
    virtual void stop() = 0;
};

} // namespace vimbo::audio
