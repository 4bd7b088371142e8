"""Private X and D-Bus servers for one integration test, stopped again however the test ends. Run as a program, it
runs the command line it is given inside them and returns its exit status."""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile


def stop(process, timeout=10):
    """Asks a process to end, and kills it if it has not within `timeout` seconds."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


@contextlib.contextmanager
def server(args, what):
    """Starts a server that writes its display or bus address to the file descriptor appended to `args`,
    and yields that line."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(args[:-1] + [args[-1] + str(write_end)], pass_fds=[write_end],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as pipe:
            line = pipe.readline().strip()
        if not line:
            raise RuntimeError(what + " did not report where it listens")
        yield line
    finally:
        stop(process)


@contextlib.contextmanager
def desktop():
    """An environment with its own display, session bus, runtime and config folders."""
    home = tempfile.mkdtemp(prefix="vimbo-desktop-")
    try:
        with server(["Xvfb", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-displayfd", ""], "Xvfb") as number, \
                server(["dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address="],
                        "dbus-daemon") as bus:
            env = dict(os.environ)
            runtime = os.path.join(home, "runtime")
            os.mkdir(runtime, 0o700)
            env.update({
                "DISPLAY": ":" + number,
                "DBUS_SESSION_BUS_ADDRESS": bus,
                "XDG_RUNTIME_DIR": runtime,
                "XDG_CONFIG_HOME": os.path.join(home, "config"),
                "XDG_CACHE_HOME": os.path.join(home, "cache"),
                "XDG_DATA_HOME": os.path.join(home, "data"),
                "TMPDIR": home,
                "GDK_BACKEND": "x11",
                "NO_AT_BRIDGE": "1",
                "WEBKIT_DISABLE_COMPOSITING_MODE": "1",
            })
            env.pop("WAYLAND_DISPLAY", None)
            yield env, home
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    with desktop() as (environment, _home):
        sys.exit(subprocess.run(sys.argv[1:], env=environment, timeout=240).returncode)
