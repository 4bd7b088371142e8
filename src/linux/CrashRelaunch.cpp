#include "linux/CrashRelaunch.h"

#include "core/app/RelaunchPolicy.h"
#include "linux/GLibSystemLog.h"
#include "linux/MonotonicClock.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace vimbo::linuxdesktop {

namespace {

constexpr char kCrashed = 'C';
// The restarts so far, handed from each run to the next.
constexpr const char* kHistoryVariable = "VIMBO_RESTARTS";
int crashPipe = -1;

void onFatalSignal(int signal) {
    [[maybe_unused]] auto written = write(crashPipe, &kCrashed, 1);
    // The handler was reset on entry, so this ends the program with the signal's own status.
    raise(signal);
}

void installHandlers() {
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    // GLib's and WebKit's fatal errors end in SIGTRAP or SIGABRT.
    for (int signal : {SIGTRAP, SIGABRT})
        sigaction(signal, &action, nullptr);
    // A memory fault is left to a sanitizer's handler, when one is there to report it.
    for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE}) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            sigaction(signal, &action, nullptr);
    }
}

[[noreturn]] void watch(int pipe, pid_t program, const std::string& path, char** argv) {
    prctl(PR_SET_NAME, "vimbo-watcher");
    char byte = 0;
    ssize_t got = 0;
    do
        got = read(pipe, &byte, 1);
    while (got < 0 && errno == EINTR);
    if (got != 1 || byte != kCrashed) _exit(0);
    // The new program must not find the old one still holding its bus name and windows.
    for (int wait = 0; wait < 500 && getppid() == program; ++wait)
        usleep(20000);
    // And the session bus a moment to notice that it has gone.
    sleep(1);
    g_set_prgname("vimbo");
    GLibSystemLog log;
    const char* earlier = std::getenv(kHistoryVariable);
    auto history = app::RelaunchPolicy::restartHistory(earlier ? earlier : "",
                                                       static_cast<long long>(MonotonicClock().now()));
    if (!history) {
        log.warn("Vimbo crashed again soon after being restarted; not starting it again");
        _exit(1);
    }
    log.warn("Vimbo crashed; starting it again");
    setenv(kHistoryVariable, history->c_str(), 1);
    execv(path.c_str(), argv);
    log.warn(std::string("Vimbo could not be started again: ") + std::strerror(errno));
    _exit(1);
}

} // namespace

void armCrashRelaunch(char** argv) {
    // The program's own file, so that the new process carries its name.
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error).string();
    int ends[2];
    if (error || pipe2(ends, O_CLOEXEC) != 0) return;
    const pid_t program = getpid();
    const pid_t watcher = fork();
    if (watcher == 0) {
        close(ends[1]);
        watch(ends[0], program, path, argv);
    }
    close(ends[0]);
    if (watcher < 0) {
        close(ends[1]);
        GLibSystemLog().warn(std::string("Vimbo cannot watch for crashes: ") + std::strerror(errno));
        return;
    }
    crashPipe = ends[1];
    installHandlers();
}

} // namespace vimbo::linuxdesktop
