#pragma once

#include "core/audio/AudioCapturing.h"
#include "linux/PulseContext.h"

// The stream API: the back-ends built on this class speak it directly.
#include <pulse/pulseaudio.h>

#include <atomic>
#include <string>
#include <variant>

namespace vimbo::linuxdesktop {

// What both sound-server back-ends share: one record stream of 32-bit float samples in the device's
// own channel count and rate, in fragments of about 25 ms, on a connection of its own whose loop
// thread is the capture thread. The back-ends choose the device and name the failures.
class PulseCapture : public audio::AudioCapturing {
  public:
    ~PulseCapture() override;

    bool isRunning() const override { return running_; }
    void setOnInterrupted(std::function<void()> onInterrupted) override;
    std::optional<audio::AudioCaptureError> start(std::weak_ptr<audio::AudioBufferConsumer> consumer) final;
    void stop() override;

    // The device the stream records, once started.
    const std::string& device() const { return device_; }

    static constexpr pa_usec_t kFragmentMicroseconds = 25000;

  protected:
    enum class StreamFailure { creation, connection };

    explicit PulseCapture(audio::AudioInput input);

    // The device to record, resolved on a fresh connection.
    virtual std::variant<std::string, audio::AudioCaptureError>
    resolveDevice(const PulseContext& context) = 0;
    virtual audio::AudioCaptureError noServer(int code) const = 0;
    virtual audio::AudioCaptureError unusableFormat() const = 0;
    virtual audio::AudioCaptureError streamFailed(StreamFailure stage, int code) const = 0;
    // Capture thread: hands one block to the consumer.
    virtual void deliver(const void* data, std::size_t bytes);
    // Around the stream's life: before it opens, and before it closes (or after it failed to open).
    virtual void opening() {}
    virtual void closing() {}

    void ingest(const void* data, std::size_t bytes);

  private:
    std::optional<audio::AudioCaptureError> openStream(const PulseContext::SourceFormat& format);
    void teardown();
    void interrupt();
    static void streamStateChanged(pa_stream* stream, void* self);
    static void streamReadable(pa_stream* stream, std::size_t bytes, void* self);
    static void streamMoved(pa_stream* stream, void* self);
    bool onRequestedDevice(pa_stream* stream) const;

    const audio::AudioInput input_;
    std::atomic<bool> running_{false};
    std::atomic<bool> interrupted_{false};
    std::function<void()> onInterrupted_;
    std::weak_ptr<audio::AudioBufferConsumer> consumer_;
    audio::AudioStreamDescription description_;
    std::string device_;
    std::unique_ptr<PulseContext> context_;
    PulseStreamPtr stream_;
    bool ready_ = false; // loop lock held
};

} // namespace vimbo::linuxdesktop
