"""End-to-end tests of the vimbo program under a private Xvfb and session bus.

Usage: app_test.py VIMBO_PROGRAM [unittest arguments]
"""
import array
import contextlib
import json
import os
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from servers import desktop, stop  # noqa: E402

PROGRAM = None
RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "resources")
READY_SEQUENCE = [
    "shortcuts:10,5,3,7,2", "status:waiting-system-permission", "audioInput:systemAudio", "micSensitivity:8",
    'windowChrome:{"mini":false,"onTop":false}', "glass:false", "micSensitivity:0.5", "glass:true",
]


def web_process_of(pid):
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                parent = int(stat.read().rsplit(")", 1)[1].split()[1])
            with open(f"/proc/{entry}/comm") as comm:
                if parent == pid and comm.read().startswith("WebKitWebProces"):
                    return int(entry)
        except (OSError, IndexError):
            continue
    raise AssertionError(f"no web process under {pid}")


def calls_of(title):
    """The page title's calls before the frame summary, with every status call after the first removed:
    without a sound server capture is retried every 2.5 s, and each attempt reports its status again."""
    calls = title.rsplit(";a=", 1)[0].split("|")
    first = next((i for i, call in enumerate(calls) if call.startswith("status:")), len(calls))
    return calls[:first + 1] + [c for c in calls[first + 1:] if not c.startswith("status:")]


class VimboSession:
    """One private desktop: X display, session bus, config, temp and runtime directories."""

    def __init__(self, stack):
        self.env, self.dir = stack.enter_context(desktop())
        self.stack, self.outputs = stack, []
        self.env.update({"HOME": self.dir, "VIMBO_RESOURCE_DIR": RESOURCES})
        # The program decides on compositing itself, and finds its sound server only where a test starts one.
        for name in ("WEBKIT_DISABLE_COMPOSITING_MODE", "PULSE_SERVER"):
            self.env.pop(name, None)
        self.debug_log = os.path.join(self.env["TMPDIR"], "vimbo-debug.log")

    def launch(self, program=None):
        """Starts vimbo --debug; its output goes to a file of its own, in launch order."""
        with open(os.path.join(self.dir, f"vimbo-{len(self.outputs)}.out"), "w") as output:
            self.outputs.append(output.name)
            process = subprocess.Popen([program or PROGRAM, "--debug"], env=self.env, stdout=output,
                                       stderr=subprocess.STDOUT)
        self.stack.callback(stop, process)
        return process

    def output(self, index):
        with open(self.outputs[index], encoding="utf-8", errors="replace") as file:
            return file.read()

    def feature_lines(self):
        with contextlib.suppress(FileNotFoundError), open(self.debug_log, encoding="utf-8") as log:
            return [line for line in log.read().splitlines() if " features " in line]
        return []

    def wait_for_title(self, predicate, timeout=30):
        """Waits for a "features" debug line whose page title satisfies `predicate`; returns the title."""
        deadline, last = time.monotonic() + timeout, None
        while time.monotonic() < deadline:
            for line in self.feature_lines():
                last = line.split(" title=", 1)[-1]
                if predicate(last):
                    return last
            time.sleep(0.2)
        raise AssertionError(f"no matching page title within {timeout} s; last title: {last!r}")

    def windows_named(self, name):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], env=self.env,
                              capture_output=True, text=True).stdout.split()


def ready(title):
    return calls_of(title)[:len(READY_SEQUENCE)] == READY_SEQUENCE and "a=" in title and not title.endswith("a=none")


class EndToEndTest(unittest.TestCase):
    def test_page_receives_everything_the_bridge_promises_in_order(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            vimbo = session.launch()
            title = session.wait_for_title(ready)
            self.assertEqual(calls_of(title), READY_SEQUENCE)
            self.assertTrue(title.endswith(";a=6+24"))
            windows = session.windows_named("Vimbo")
            self.assertEqual(len(windows), 1)
            geometry = subprocess.run(["xdotool", "getwindowgeometry", windows[0]], env=session.env,
                                      capture_output=True, text=True).stdout
            self.assertIn("Geometry: 1100x760", geometry)
            # A second launch activates the running instance and exits.
            self.assertEqual(session.launch().wait(timeout=30), 0, session.output(1))
            self.assertEqual(session.windows_named("Vimbo"), windows)

            # A dead web process is reported once and the page loads again, replaying what is current:
            # the reloaded page posts "micSensitivity:20" again while loading, and 8 is stored and replayed.
            # No status between the shortcuts and the input: the held one was consumed by the first load.
            os.kill(web_process_of(vimbo.pid), signal.SIGKILL)
            session.wait_for_title(lambda t: "shortcuts:10,5,3,7,2|audioInput:systemAudio|micSensitivity:8|" in t)
            output = session.output(0)
            self.assertEqual(output.count("Vimbo web process crashed; reloading the page"), 1)
            # Xvfb has only Mesa's CPU rasterizer: the page is drawn without OpenGL compositing.
            self.assertEqual(output.count("Vimbo: OpenGL renders in software (llvmpipe"), 1)
            # The feature calls above went through the web extension built beside the program.
            self.assertNotIn("Vimbo web extension is not running", output)

            stop(vimbo)
            self.assertEqual(vimbo.returncode, 0)
            with open(os.path.join(session.env["XDG_CONFIG_HOME"], "vimbo", "defaults.json")) as file:
                defaults = json.load(file)
            self.assertEqual((defaults["microphoneSensitivity"], defaults["glassMode"]), (0.5, True))

    def test_page_scripts_still_arrive_when_the_web_extension_cannot_load(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            # An installed layout whose extension folder holds a module WebKit cannot load.
            prefix = os.path.join(session.dir, "prefix")
            extensions = os.path.join(prefix, os.environ["VIMBO_INSTALL_LIBDIR"], "vimbo", "web-extensions")
            os.makedirs(extensions)
            open(os.path.join(extensions, "vimbo-web-extension.so"), "w").close()
            os.makedirs(os.path.join(prefix, "bin"))
            vimbo = session.launch(shutil.copy(PROGRAM, os.path.join(prefix, "bin", "vimbo")))
            self.assertEqual(calls_of(session.wait_for_title(ready)), READY_SEQUENCE)
            self.assertIsNone(vimbo.poll())
            self.assertEqual(session.output(0).count(
                "Vimbo web extension is not running: page scripts are evaluated by WebKit one by one, "
                "and the page may read files outside its folder"), 1)

    def test_page_reads_files_from_its_own_folder_only(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            resources = session.env["VIMBO_RESOURCE_DIR"] = os.path.join(session.dir, "resources")
            os.makedirs(os.path.join(resources, "web"))
            for name, text in {
                "web/index.html": '<script src="inside.js"></script><script src="../../outside.js"></script>'
                                  '<img src="http://example.invalid/picture.png"><script>document.title = '
                                  '`inside=${!!window.inside};outside=${!!window.outside}`</script>',
                "web/inside.js": "window.inside = true;",
                "../outside.js": "window.outside = true;",
            }.items():
                with open(os.path.join(resources, name), "w") as file:
                    file.write(text)
            session.launch()
            self.assertEqual(session.wait_for_title(lambda t: t.startswith("inside=")), "inside=true;outside=false")
            output = session.output(0)
            self.assertIn(f"refused to load file://{session.dir}/outside.js: the page may only read files in {resources}/",
                          output)
            self.assertIn("refused to load http://example.invalid/picture.png", output)


class SoundTest(unittest.TestCase):
    """The program against a private PulseAudio server playing a tone."""

    def start_server(self, session):
        subprocess.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                        "--load=module-native-protocol-unix",
                        "--load=module-null-sink sink_name=vimbo_out format=float32le rate=48000 channels=2"],
                       env=dict(session.env, PULSE_RUNTIME_PATH=self.runtime), check=True, stdout=subprocess.DEVNULL)

    def kill_server(self):
        pid_file = os.path.join(self.runtime, "pid")
        with contextlib.suppress(OSError, ValueError), open(pid_file) as pid:
            os.kill(int(pid.read().strip()), signal.SIGKILL)
            # A killed daemon may linger as a zombie where nothing reaps orphans; its pid file would
            # then make the next start believe it still runs.
            os.unlink(pid_file)

    def test_capture_follows_the_server_and_feeds_the_visuals(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            self.runtime = os.path.join(session.dir, "pulse")
            session.env["PULSE_SERVER"] = "unix:" + os.path.join(self.runtime, "native")
            self.start_server(session)
            stack.callback(self.kill_server)
            tone = os.path.join(session.dir, "tone.raw")
            with open(tone, "wb") as file:  # 30 s of a 500 Hz square wave, 32-bit float mono
                file.write((array.array("f", [0.5] * 48 + [-0.5] * 48) * (500 * 30)).tobytes())
            player = subprocess.Popen(["pacat", "--raw", "--format=float32le", "--rate=48000", "--channels=1", tone],
                                      env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            stack.callback(stop, player)
            vimbo = session.launch()
            session.wait_for_title(lambda t: "status:ok" in t, timeout=10)

            def loud(line):
                return float(line.split(" features __a(", 1)[1].split(",", 1)[0]) > 0.1 and " running=true " in line
            deadline = time.monotonic() + 10
            while not any(loud(line) for line in session.feature_lines()):
                self.assertLess(time.monotonic(), deadline, "the tone never moved the visuals")
                time.sleep(0.2)

            # A sound server that goes away is waited for, and capture comes back with it by itself.
            def last_status(title):
                return [c for c in title.split(";a=")[0].split("|") if c.startswith("status:")][-1]
            self.kill_server()
            session.wait_for_title(lambda t: last_status(t) == "status:waiting-system-permission", timeout=10)
            self.start_server(session)
            session.wait_for_title(lambda t: last_status(t) == "status:ok", timeout=15)
            stop(vimbo)
            self.assertEqual(vimbo.returncode, 0)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
