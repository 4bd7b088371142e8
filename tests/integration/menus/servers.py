"""Private X and D-Bus servers for one test, stopped again however the test ends. Run as a program, it
runs the command line it is given inside them and returns its exit status."""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile


def _stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def _read_line(fd):
    with os.fdopen(fd) as pipe:
        return pipe.readline().strip()


@contextlib.contextmanager
def xvfb():
    """Yields the display name (":N") of a new Xvfb that picked a free display itself."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                               "-nolisten", "tcp"], pass_fds=[write_end])
    os.close(write_end)
    try:
        number = _read_line(read_end)
        if not number:
            raise RuntimeError("Xvfb did not report a display")
        yield ":" + number
    finally:
        _stop(server)


@contextlib.contextmanager
def session_bus():
    """Yields the address of a private session bus."""
    read_end, write_end = os.pipe()
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                               "--print-address=" + str(write_end)], pass_fds=[write_end])
    os.close(write_end)
    try:
        address = _read_line(read_end)
        if not address:
            raise RuntimeError("dbus-daemon did not report an address")
        yield address
    finally:
        _stop(daemon)


@contextlib.contextmanager
def desktop():
    """An environment with its own display, session bus, runtime and config folders."""
    home = tempfile.mkdtemp(prefix="vimbo-menus-")
    try:
        with xvfb() as display, session_bus() as bus:
            env = dict(os.environ)
            runtime = os.path.join(home, "runtime")
            os.mkdir(runtime, 0o700)
            env.update({
                "DISPLAY": display,
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
