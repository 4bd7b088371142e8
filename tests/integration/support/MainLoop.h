#pragma once

#include <gio/gio.h>
#include <glib.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>

namespace vimbo::testing {

// Runs the default main context until the condition holds or the time is up; returns the condition.
inline bool runUntil(const std::function<bool()>& condition, double seconds = 5) {
    gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(seconds * 1e6);
    // Wakes the loop every millisecond to look again.
    guint tick = g_timeout_add(
        1, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    bool met = false;
    while (!(met = condition()) && g_get_monotonic_time() <= deadline)
        g_main_context_iteration(nullptr, TRUE);
    g_source_remove(tick);
    return met;
}

inline void runFor(double seconds) {
    runUntil([] { return false; }, seconds);
}

// Runs a shell line (xdotool steps with pauses) to its end while the main context keeps serving the
// windows it acts on; returns whether it ended in time.
inline bool runCommand(const std::string& line) {
    const char* argv[] = {"sh", "-c", line.c_str(), nullptr};
    GPid pid = 0;
    auto flags = static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD);
    if (!g_spawn_async(nullptr, const_cast<char**>(argv), nullptr, flags, nullptr, nullptr, &pid, nullptr))
        return false;
    bool done = false;
    g_child_watch_add(
        pid, [](GPid, gint, gpointer ended) { *static_cast<bool*>(ended) = true; }, &done);
    return runUntil([&] { return done; }, 20);
}

// Blocking work (an adapter's D-Bus calls, whose peer may live in this process) on a thread of its
// own while this one keeps running the main context; returns its result.
template <class Work> auto offThread(Work work) {
    auto result = std::async(std::launch::async, std::move(work));
    runUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10);
    return result.get();
}

// A method call's reply, or null; the caller unrefs it.
inline GVariant* call(GDBusConnection* connection, const char* destination, const char* path,
                      const char* interface, const char* method, GVariant* parameters) {
    return offThread([=] {
        return g_dbus_connection_call_sync(connection, destination, path, interface, method, parameters,
                                           nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    });
}

} // namespace vimbo::testing
