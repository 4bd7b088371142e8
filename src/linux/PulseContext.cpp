#include "linux/PulseContext.h"

#include <pulse/pulseaudio.h>

namespace vimbo::linuxdesktop {

namespace {

bool isFinal(pa_context_state_t state) {
    return state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED;
}

// One query's answer, filled on the loop thread while the caller waits.
template <class Result> struct Query {
    const PulseContext* owner;
    std::optional<Result> result;
};

} // namespace

void PulseMainloopDeleter::operator()(pa_threaded_mainloop* mainloop) const {
    pa_threaded_mainloop_free(mainloop);
}

void PulseContextDeleter::operator()(pa_context* context) const {
    pa_context_unref(context);
}

void PulseStreamDeleter::operator()(pa_stream* stream) const {
    pa_stream_unref(stream);
}

void PulseOperationDeleter::operator()(pa_operation* operation) const {
    pa_operation_unref(operation);
}

PulseContext::Lock::Lock(const PulseContext& context) : mainloop_(context.mainloop_.get()) {
    pa_threaded_mainloop_lock(mainloop_);
}

PulseContext::Lock::~Lock() {
    pa_threaded_mainloop_unlock(mainloop_);
}

int PulseContext::lastError() const {
    return pa_context_errno(context_.get());
}

void PulseContext::checkOnLoopThread(std::source_location where) const {
    if constexpr (util::kThreadChecks) {
        if (!pa_threaded_mainloop_in_thread(mainloop_.get()))
            util::threadCheckFailed("the sound server's loop thread", where);
    }
}

void PulseContext::checkOffLoopThread(std::source_location where) const {
    if constexpr (util::kThreadChecks) {
        if (pa_threaded_mainloop_in_thread(mainloop_.get()))
            util::threadCheckFailed("a thread other than the sound server's loop thread", where);
    }
}

void PulseContext::signal() const {
    pa_threaded_mainloop_signal(mainloop_.get(), 0);
}

void PulseContext::wait() const {
    checkOffLoopThread();
    pa_threaded_mainloop_wait(mainloop_.get());
}

std::uint64_t PulseContext::deadlineAfter(double seconds) {
    return pa_rtclock_now() + static_cast<pa_usec_t>(seconds * PA_USEC_PER_SEC);
}

bool PulseContext::waitUntil(std::uint64_t deadline) const {
    checkOffLoopThread();
    if (pa_rtclock_now() >= deadline) return false;
    // A timer on the loop wakes the wait at the deadline if nothing else does.
    pa_time_event* timer = pa_context_rttime_new(
        context(), deadline,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
            static_cast<const PulseContext*>(self)->signal();
        },
        const_cast<PulseContext*>(this));
    pa_threaded_mainloop_wait(mainloop_.get());
    if (timer) pa_threaded_mainloop_get_api(mainloop_.get())->time_free(timer);
    return true;
}

std::unique_ptr<PulseContext> PulseContext::connect(const char* clientName, int& error) {
    std::unique_ptr<PulseContext> self(new PulseContext());
    self->mainloop_.reset(pa_threaded_mainloop_new());
    if (!self->mainloop_) {
        error = PA_ERR_INTERNAL;
        return nullptr;
    }
    self->context_.reset(pa_context_new(pa_threaded_mainloop_get_api(self->mainloop_.get()), clientName));
    if (!self->context_) {
        error = PA_ERR_INTERNAL;
        return nullptr;
    }
    pa_context_set_state_callback(self->context(), stateChanged, self.get());
    if (pa_context_connect(self->context(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        error = pa_context_errno(self->context());
        return nullptr;
    }
    if (pa_threaded_mainloop_start(self->mainloop_.get()) < 0) {
        error = PA_ERR_INTERNAL;
        return nullptr;
    }
    Lock lock(*self);
    const auto deadline = deadlineAfter(kConnectSeconds);
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(self->context());
        if (state == PA_CONTEXT_READY) return self;
        if (isFinal(state)) {
            error = self->lastError();
            return nullptr;
        }
        if (!self->waitUntil(deadline)) {
            error = PA_ERR_TIMEOUT;
            return nullptr;
        }
    }
}

PulseContext::~PulseContext() {
    if (!mainloop_) return;
    checkOffLoopThread();
    if (context_) {
        Lock lock(*this);
        closing_ = true;
        pa_context_set_subscribe_callback(context(), nullptr, nullptr);
        pa_context_disconnect(context());
        pa_context_set_state_callback(context(), nullptr, nullptr);
    }
    pa_threaded_mainloop_stop(mainloop_.get());
    context_.reset();
}

void PulseContext::await(pa_operation* operation) const {
    if (!operation) return;
    checkOffLoopThread();
    PulseOperationPtr owned(operation);
    const auto deadline = deadlineAfter(kReplySeconds);
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        if (!waitUntil(deadline)) {
            pa_operation_cancel(operation); // its callback, which would fill the caller's answer, never runs
            return;
        }
    }
}

void PulseContext::stateChanged(pa_context* context, void* userdata) {
    auto* self = static_cast<PulseContext*>(userdata);
    self->signal();
    if (!isFinal(pa_context_get_state(context)) || self->closing_ || self->disconnected_) return;
    self->disconnected_ = true;
    if (self->onDisconnected_) self->onDisconnected_();
}

std::optional<PulseContext::ServerDefaults> PulseContext::serverDefaults() const {
    Query<ServerDefaults> query{this, std::nullopt};
    Lock lock(*this);
    await(pa_context_get_server_info(
        context(),
        [](pa_context*, const pa_server_info* info, void* userdata) {
            auto* query = static_cast<Query<ServerDefaults>*>(userdata);
            if (info) {
                ServerDefaults defaults;
                if (info->default_sink_name && *info->default_sink_name)
                    defaults.sinkName = info->default_sink_name;
                if (info->default_source_name && *info->default_source_name) {
                    defaults.sourceName = info->default_source_name;
                }
                query->result = std::move(defaults);
            }
            query->owner->signal();
        },
        &query));
    return query.result;
}

std::optional<std::string> PulseContext::monitorSourceOf(const std::string& sinkName) const {
    Query<std::string> query{this, std::nullopt};
    Lock lock(*this);
    await(pa_context_get_sink_info_by_name(
        context(), sinkName.c_str(),
        [](pa_context*, const pa_sink_info* info, int eol, void* userdata) {
            auto* query = static_cast<Query<std::string>*>(userdata);
            if (eol == 0 && info && info->monitor_source_name && *info->monitor_source_name) {
                query->result = info->monitor_source_name;
            }
            query->owner->signal();
        },
        &query));
    return query.result;
}

std::optional<PulseContext::SourceFormat> PulseContext::sourceFormat(const std::string& sourceName) const {
    Query<SourceFormat> query{this, std::nullopt};
    Lock lock(*this);
    await(pa_context_get_source_info_by_name(
        context(), sourceName.c_str(),
        [](pa_context*, const pa_source_info* info, int eol, void* userdata) {
            auto* query = static_cast<Query<SourceFormat>*>(userdata);
            if (eol == 0 && info) query->result = SourceFormat{info->sample_spec, info->channel_map};
            query->owner->signal();
        },
        &query));
    return query.result;
}

bool PulseContext::subscribeToServerChanges(std::function<void()> onChange) {
    Lock lock(*this);
    onServerChange_ = std::move(onChange);
    pa_context_set_subscribe_callback(
        context(),
        [](pa_context*, pa_subscription_event_type_t type, std::uint32_t, void* userdata) {
            auto* self = static_cast<PulseContext*>(userdata);
            if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SERVER &&
                self->onServerChange_) {
                self->onServerChange_();
            }
        },
        this);
    struct Outcome {
        const PulseContext* owner;
        bool succeeded = false;
    } outcome{this};
    // Without a completion that signals the loop, waiting for the subscription would never end.
    await(pa_context_subscribe(
        context(), PA_SUBSCRIPTION_MASK_SERVER,
        [](pa_context*, int success, void* userdata) {
            auto* outcome = static_cast<Outcome*>(userdata);
            outcome->succeeded = success != 0;
            outcome->owner->signal();
        },
        &outcome));
    return outcome.succeeded;
}

void PulseContext::setOnDisconnected(std::function<void()> onDisconnected) {
    Lock lock(*this);
    onDisconnected_ = std::move(onDisconnected);
}

} // namespace vimbo::linuxdesktop
