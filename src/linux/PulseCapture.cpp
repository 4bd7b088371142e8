#include "linux/PulseCapture.h"

#include <algorithm>
#include <limits>

namespace vimbo::linuxdesktop {

namespace {

constexpr const char* kClientName = "Vimbo";

bool isFinal(pa_stream_state_t state) {
    return state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED;
}

} // namespace

PulseCapture::PulseCapture(audio::AudioInput input) : input_(input) {}

PulseCapture::~PulseCapture() {
    teardown();
}

void PulseCapture::setOnInterrupted(std::function<void()> onInterrupted) {
    onInterrupted_ = std::move(onInterrupted);
}

std::optional<audio::AudioCaptureError>
PulseCapture::start(std::weak_ptr<audio::AudioBufferConsumer> consumer) {
    if (running_) return std::nullopt;
    consumer_ = std::move(consumer);
    int code = 0;
    context_ = PulseContext::connect(kClientName, code);
    if (!context_) return noServer(code);

    auto device = resolveDevice(*context_);
    if (auto* error = std::get_if<audio::AudioCaptureError>(&device)) {
        teardown();
        return *error;
    }
    device_ = std::get<std::string>(device);

    auto format = context_->sourceFormat(device_);
    if (!format) {
        teardown();
        return noServer(PA_ERR_NOENTITY);
    }
    // Always floats, in the device's own layout and rate: the analyzer mixes to mono itself.
    format->spec.format = PA_SAMPLE_FLOAT32LE;
    if (!pa_sample_spec_valid(&format->spec)) {
        teardown();
        return unusableFormat();
    }
    if (!pa_channel_map_valid(&format->map) || format->map.channels != format->spec.channels) {
        pa_channel_map_init_auto(&format->map, format->spec.channels, PA_CHANNEL_MAP_DEFAULT);
    }

    opening();
    if (auto error = openStream(*format)) {
        teardown();
        return error;
    }
    running_ = true;
    return std::nullopt;
}

std::optional<audio::AudioCaptureError> PulseCapture::openStream(const PulseContext::SourceFormat& format) {
    description_ = {static_cast<double>(format.spec.rate), 0, format.spec.channels};
    PulseContext::Lock lock(*context_);
    stream_.reset(pa_stream_new(context_->context(), "Vimbo capture", &format.spec, &format.map));
    if (!stream_) return streamFailed(StreamFailure::creation, context_->lastError());
    pa_stream_set_state_callback(stream_.get(), streamStateChanged, this);
    pa_stream_set_read_callback(stream_.get(), streamReadable, this);
    pa_stream_set_moved_callback(stream_.get(), streamMoved, this);

    // With latency adjustment the fragment is the source's latency, and for a monitor the pace at
    // which the sink renders unless a player asks for less: every fragment wakes this thread and
    // the server. 25 ms keeps a sample's wait plus the 60 Hz tick under the 50 ms goal.
    const std::uint32_t unset = std::numeric_limits<std::uint32_t>::max();
    pa_buffer_attr attributes{
        unset, unset, unset, unset,
        static_cast<std::uint32_t>(pa_usec_to_bytes(kFragmentMicroseconds, &format.spec))};
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(stream_.get(), device_.c_str(), &attributes, flags) < 0) {
        return streamFailed(StreamFailure::connection, context_->lastError());
    }
    const auto deadline = PulseContext::deadlineAfter(PulseContext::kConnectSeconds);
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(stream_.get());
        if (state == PA_STREAM_READY) break;
        if (isFinal(state)) return streamFailed(StreamFailure::connection, context_->lastError());
        if (!context_->waitUntil(deadline)) return streamFailed(StreamFailure::connection, PA_ERR_TIMEOUT);
    }
    // A server may quietly connect a stream for a missing device to another one (the microphone,
    // say): that is not the device we asked for.
    if (!onRequestedDevice(stream_.get())) return streamFailed(StreamFailure::connection, PA_ERR_NOENTITY);
    ready_ = true;
    return std::nullopt;
}

void PulseCapture::stop() {
    teardown();
}

void PulseCapture::teardown() {
    if (context_) {
        closing();
        {
            PulseContext::Lock lock(*context_);
            ready_ = false;
            if (stream_) {
                pa_stream_set_state_callback(stream_.get(), nullptr, nullptr);
                pa_stream_set_read_callback(stream_.get(), nullptr, nullptr);
                pa_stream_set_moved_callback(stream_.get(), nullptr, nullptr);
                pa_stream_disconnect(stream_.get());
                stream_.reset();
            }
        }
        context_.reset(); // joins the capture thread
    }
    running_ = false;
    consumer_.reset();
}

void PulseCapture::interrupt() {
    if (interrupted_.exchange(true)) return;
    running_ = false;
    if (onInterrupted_) onInterrupted_();
}

bool PulseCapture::onRequestedDevice(pa_stream* stream) const {
    const char* name = pa_stream_get_device_name(stream);
    return name && device_ == name;
}

void PulseCapture::streamStateChanged(pa_stream* stream, void* userdata) {
    auto* self = static_cast<PulseCapture*>(userdata);
    self->context_->signal();
    if (self->ready_ && isFinal(pa_stream_get_state(stream))) self->interrupt();
}

void PulseCapture::streamMoved(pa_stream* stream, void* userdata) {
    auto* self = static_cast<PulseCapture*>(userdata);
    if (self->ready_ && !self->onRequestedDevice(stream)) self->interrupt();
}

void PulseCapture::streamReadable(pa_stream* stream, std::size_t, void* userdata) {
    auto* self = static_cast<PulseCapture*>(userdata);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
        if (data) self->deliver(data, bytes); // no data but a size: a hole, dropped below
        pa_stream_drop(stream);
    }
}

void PulseCapture::deliver(const void* data, std::size_t bytes) {
    context_->checkOnLoopThread();
    ingest(data, bytes);
}

void PulseCapture::ingest(const void* data, std::size_t bytes) {
    auto consumer = consumer_.lock();
    if (!consumer) return;
    const audio::AudioBuffer buffer{
        description_.channelsPerFrame,
        static_cast<std::uint32_t>(std::min<std::size_t>(bytes, std::numeric_limits<std::uint32_t>::max())),
        data};
    consumer->ingest(std::span(&buffer, 1), description_, input_);
}

} // namespace vimbo::linuxdesktop
