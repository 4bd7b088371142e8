#pragma once

#include <gio/gio.h>
#include <glib.h>
#include <glib/gstdio.h>

#include <csignal>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace vimbo::testing {

// A dbus-daemon --session of the test's own, stopped when this goes away.
class PrivateSessionBus {
  public:
    // No service directories: nothing on this bus is started on demand (portals included).
    PrivateSessionBus() {
        configPath_ = g_build_filename(g_get_tmp_dir(), "vimbo-bus-XXXXXX.conf", nullptr);
        int fd = g_mkstemp(configPath_);
        if (fd < 0) throw std::runtime_error("cannot write the bus configuration");
        const std::string config = R"(<busconfig><type>session</type><listen>unix:tmpdir=)" +
                                   std::string(g_get_tmp_dir()) + R"(</listen>
<auth>EXTERNAL</auth><policy context="default"><allow send_destination="*" eavesdrop="true"/>
<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>)";
        bool written = write(fd, config.data(), config.size()) == static_cast<ssize_t>(config.size());
        close(fd);
        if (!written) throw std::runtime_error("cannot write the bus configuration");
        std::string configArgument = std::string("--config-file=") + configPath_;
        const char* argv[] = {"dbus-daemon", configArgument.c_str(), "--nofork", "--print-address=1",
                              nullptr};
        int out = -1;
        GError* error = nullptr;
        if (!g_spawn_async_with_pipes(
                nullptr, const_cast<char**>(argv), nullptr,
                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                &pid_, nullptr, &out, nullptr, &error)) {
            std::string message = error->message;
            g_error_free(error);
            throw std::runtime_error("dbus-daemon did not start: " + message);
        }
        char c = 0;
        while (read(out, &c, 1) == 1 && c != '\n')
            address_ += c;
        close(out);
        if (address_.empty()) throw std::runtime_error("dbus-daemon printed no address");
    }
    ~PrivateSessionBus() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        g_spawn_close_pid(pid_);
        g_unlink(configPath_);
        g_free(configPath_);
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // A new client connection of its own; the caller unrefs it.
    GDBusConnection* connect() const {
        GError* error = nullptr;
        GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
            address_.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, &error);
        if (!connection) {
            std::string message = error->message;
            g_error_free(error);
            throw std::runtime_error("cannot connect to the private bus: " + message);
        }
        return connection;
    }
    const std::string& address() const { return address_; }

  private:
    gchar* configPath_ = nullptr;
    GPid pid_ = 0;
    std::string address_;
};

// Runs the default main context until the condition holds or the time is up; returns the condition.
// It sleeps in the main loop between events, waking every millisecond to look.
inline bool runUntil(const std::function<bool()>& condition, double seconds = 5) {
    gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(seconds * 1e6);
    guint tick = g_timeout_add(
        1, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    bool met = false;
    while (!(met = condition()) && g_get_monotonic_time() <= deadline)
        g_main_context_iteration(nullptr, TRUE);
    g_source_remove(tick);
    return met;
}

// Runs the default main context for a while.
inline void runFor(double seconds) {
    runUntil([] { return false; }, seconds);
}

// A method call answered while the main context keeps running (the callee may live in this
// process). Returns the reply or null; the caller unrefs it.
inline GVariant* call(GDBusConnection* connection, const char* destination, const char* path,
                      const char* interface, const char* method, GVariant* parameters,
                      std::string* error = nullptr) {
    struct Result {
        bool done = false;
        GVariant* reply = nullptr;
        std::string error;
    } result;
    g_dbus_connection_call(
        connection, destination, path, interface, method, parameters, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000,
        nullptr,
        [](GObject* source, GAsyncResult* async, gpointer data) {
            auto* r = static_cast<Result*>(data);
            GError* e = nullptr;
            r->reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), async, &e);
            if (e) {
                r->error = e->message;
                g_error_free(e);
            }
            r->done = true;
        },
        &result);
    runUntil([&] { return result.done; }, 10);
    if (error) *error = result.error;
    return result.reply;
}

} // namespace vimbo::testing
