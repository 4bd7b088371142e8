#pragma once

#include "core/util/ThreadChecker.h"

// The value types of a source's format; everything else of libpulse stays behind pointers here.
#include <pulse/channelmap.h>
#include <pulse/sample.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <source_location>
#include <string>

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

namespace vimbo::linuxdesktop {

struct PulseMainloopDeleter {
    void operator()(pa_threaded_mainloop* mainloop) const;
};
struct PulseContextDeleter {
    void operator()(pa_context* context) const;
};
struct PulseStreamDeleter {
    void operator()(pa_stream* stream) const;
};
struct PulseOperationDeleter {
    void operator()(pa_operation* operation) const;
};
using PulseMainloopPtr = std::unique_ptr<pa_threaded_mainloop, PulseMainloopDeleter>;
using PulseContextPtr = std::unique_ptr<pa_context, PulseContextDeleter>;
using PulseStreamPtr = std::unique_ptr<pa_stream, PulseStreamDeleter>;
using PulseOperationPtr = std::unique_ptr<pa_operation, PulseOperationDeleter>;

// A connection to the sound server (PulseAudio, or PipeWire's pulse server) with its own loop thread,
// the thread every callback of the context and its streams runs on.
class PulseContext {
  public:
    // Connects to the server named by PULSE_SERVER, or the user's default one; never spawns a server.
    // On failure returns nothing and sets `error` to the server's error code.
    static std::unique_ptr<PulseContext> connect(const char* clientName, int& error);
    // Disconnects and joins the loop thread: afterwards no callback of this context runs.
    // Never call from the loop thread.
    ~PulseContext();
    PulseContext(const PulseContext&) = delete;
    PulseContext& operator=(const PulseContext&) = delete;

    // Holds the loop's lock: needed for every call into the context or its streams off the loop thread.
    class Lock {
      public:
        explicit Lock(const PulseContext& context);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

      private:
        pa_threaded_mainloop* mainloop_;
    };

    pa_context* context() const { return context_.get(); }
    // Lock held: the server's code for the last failure.
    int lastError() const;
    // A server that is stopped (SIGSTOP) or hangs accepts the connection and then never answers:
    // every wait for it ends after these, so that no caller waits for it for long.
    static constexpr double kConnectSeconds = 3.0;
    static constexpr double kReplySeconds = 2.0;
    // The loop clock's time `seconds` from now, for waitUntil.
    static std::uint64_t deadlineAfter(double seconds);

    // Lock held, off the loop thread: waits until the operation has finished, was cancelled or took
    // longer than kReplySeconds (then it is cancelled). Takes ownership of the operation; a null
    // operation returns at once.
    void await(pa_operation* operation) const;
    // Debug and sanitizer builds stop a caller on the wrong side of the loop thread.
    void checkOnLoopThread(std::source_location where = std::source_location::current()) const;
    void checkOffLoopThread(std::source_location where = std::source_location::current()) const;
    // Lock held: wakes whoever waits in `await` or `waitUntil`. Mostly from the loop thread, but libpulse
    // also reports state changes inside connect and disconnect, on the caller's thread.
    void signal() const;
    // Lock held, off the loop thread: sleeps until the next signal.
    void wait() const;
    // Lock held, off the loop thread: sleeps until the next signal or the deadline; false, without
    // sleeping, once the deadline has passed.
    bool waitUntil(std::uint64_t deadline) const;

    struct ServerDefaults {
        std::optional<std::string> sinkName;
        std::optional<std::string> sourceName;
    };
    struct SourceFormat {
        pa_sample_spec spec;
        pa_channel_map map;
    };
    // Each takes the lock itself; no value when the server does not answer or the device is unknown.
    std::optional<ServerDefaults> serverDefaults() const;
    std::optional<std::string> monitorSourceOf(const std::string& sinkName) const;
    std::optional<SourceFormat> sourceFormat(const std::string& sourceName) const;

    // `onChange` runs on the loop thread after each change of the server's defaults. Call once.
    bool subscribeToServerChanges(std::function<void()> onChange);
    // `onDisconnected` runs on the loop thread once when the server goes away (not on our own close).
    void setOnDisconnected(std::function<void()> onDisconnected);

  private:
    PulseContext() = default;
    static void stateChanged(pa_context* context, void* self);

    PulseMainloopPtr mainloop_;
    PulseContextPtr context_;
    bool closing_ = false;      // lock held
    bool disconnected_ = false; // lock held
    std::function<void()> onServerChange_;
    std::function<void()> onDisconnected_;
};

} // namespace vimbo::linuxdesktop
