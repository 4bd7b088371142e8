"""End-to-end tests of the vimbo program under a private Xvfb and session bus.

Usage: app_test.py VIMBO_PROGRAM [unittest arguments]
"""
import contextlib
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import threading
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


def calls_of(title):
    """The page title's calls before the frame summary, with every status call after the first removed:
    without a sound server capture is retried every 2.5 s, and each attempt reports its status again."""
    calls = title.rsplit(";a=", 1)[0].split("|")
    first = next((i for i, call in enumerate(calls) if call.startswith("status:")), len(calls))
    return calls[:first + 1] + [c for c in calls[first + 1:] if not c.startswith("status:")]


class VimboSession:
    """One private desktop: X display, session bus, config, temp and runtime directories, and a copy of the test
    page whose network probes aim at a free port of this machine; `network` records what reaches that port."""

    def __init__(self, stack):
        self.env, self.dir = stack.enter_context(desktop())
        self.stack, self.outputs = stack, []
        listener = socket.create_server(("127.0.0.1", 0))
        stack.callback(listener.close)
        self.network = []
        threading.Thread(target=self._record, args=(listener,), daemon=True).start()
        # The page reads "../../outside.js" to show that it cannot leave its folder.
        self.resources = os.path.join(self.dir, "resources")
        os.makedirs(os.path.join(self.resources, "web"))
        shutil.copy(os.path.join(os.path.dirname(RESOURCES), "outside.js"), self.dir)
        with open(os.path.join(RESOURCES, "web", "index.html")) as page, \
                open(os.path.join(self.resources, "web", "index.html"), "w") as copy:
            copy.write(page.read().replace("PROBE_PORT", str(listener.getsockname()[1])))
        self.env.update({"HOME": self.dir, "VIMBO_RESOURCE_DIR": self.resources})
        # The program decides on compositing itself, and finds its sound server only where a test starts one.
        for name in ("WEBKIT_DISABLE_COMPOSITING_MODE", "PULSE_SERVER"):
            self.env.pop(name, None)
        self.debug_log = os.path.join(self.env["TMPDIR"], "vimbo-debug.log")

    def _record(self, listener):
        with contextlib.suppress(OSError):
            while True:
                self.network.append(listener.accept()[0].recv(80))

    def launch(self, program=None, *switches):
        """Starts vimbo --debug; its output goes to a file of its own, in launch order."""
        with open(os.path.join(self.dir, f"vimbo-{len(self.outputs)}.out"), "w") as output:
            self.outputs.append(output.name)
            process = subprocess.Popen([program or PROGRAM, "--debug", *switches], env=self.env, stdout=output,
                                       stderr=subprocess.STDOUT)
        self.stack.callback(stop, process)
        return process

    def output(self, index):
        with open(self.outputs[index], encoding="utf-8", errors="replace") as file:
            return file.read()

    def wait_for_line(self, predicate, timeout=30):
        """Waits for a "features" debug line that satisfies `predicate`; returns it."""
        def lines():
            with contextlib.suppress(FileNotFoundError), open(self.debug_log, encoding="utf-8") as log:
                return [line for line in log.read().splitlines() if " features " in line]
            return []
        return poll(lambda: next(filter(predicate, lines()), None), timeout,
                    lambda: f"no matching features line within {timeout} s; last: {lines()[-1:]}")

    def wait_for_title(self, predicate, timeout=30):
        """Waits for a "features" debug line whose page title satisfies `predicate`; returns the title."""
        return self.wait_for_line(lambda line: predicate(line.split(" title=", 1)[-1]), timeout).split(" title=", 1)[-1]

    def app_actions(self, method, *arguments):
        """Calls org.gtk.Actions on the program's exported application actions."""
        return subprocess.run(["gdbus", "call", "--session", "--dest", "org.vimbo.Vimbo", "--object-path",
                               "/org/vimbo/Vimbo", "--method", "org.gtk.Actions." + method, *arguments],
                              env=self.env, capture_output=True, text=True, timeout=10, check=True).stdout

    def windows_named(self, name):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"], env=self.env,
                              capture_output=True, text=True).stdout.split()


def ready(title):
    return calls_of(title)[-len(READY_SEQUENCE):] == READY_SEQUENCE and "a=" in title and not title.endswith("a=none")


def poll(find, timeout, failure):
    """Asks `find` five times a second until it answers something true, and returns that answer."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError(failure())


class EndToEndTest(unittest.TestCase):
    def test_page_receives_everything_the_bridge_promises_in_order(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            vimbo = session.launch()
            title = session.wait_for_title(ready)
            self.assertEqual(calls_of(title), READY_SEQUENCE)
            self.assertTrue(title.endswith(";a=6+24"))
            window, = session.windows_named("Vimbo")
            geometry = subprocess.run(["xdotool", "getwindowgeometry", window], env=session.env,
                                      capture_output=True, text=True).stdout
            self.assertIn("Geometry: 1100x760", geometry)
            # A second launch activates the running instance and exits.
            self.assertEqual(session.launch().wait(timeout=30), 0, session.output(1))
            self.assertEqual(session.windows_named("Vimbo"), [window])

            # A dead web process is reported once and the page loads again, replaying what is current:
            # the reloaded page posts "micSensitivity:20" again while loading, and 8 is stored and replayed.
            # No status between the shortcuts and the input: the held one was consumed by the first load.
            web_process = subprocess.run(["pgrep", "-P", str(vimbo.pid), "WebKitWebProces"], capture_output=True,
                                         text=True, check=True).stdout.split()[0]
            os.kill(int(web_process), signal.SIGKILL)
            session.wait_for_title(lambda t: "shortcuts:10,5,3,7,2|audioInput:systemAudio|micSensitivity:8|" in t)
            output = session.output(0)
            self.assertEqual(output.count("Vimbo web process crashed; reloading the page in 0.5 s"), 1)
            # Xvfb has only Mesa's CPU rasterizer: the page is drawn without OpenGL compositing.
            self.assertEqual(output.count("Vimbo: OpenGL renders in software (llvmpipe"), 1)
            self.assertIn("Vimbo ignored a page message holding a lone surrogate: audioInput:microphone", output)
            # The feature calls above went through the web extension built beside the program, which kept the
            # page from reading outside its folder: nothing recorded "outside" above.
            self.assertNotIn("Vimbo web extension is not running", output)
            self.assertIn(f"refused to load file://{session.dir}/outside.js: the page may only read "
                          f"files in {session.resources}/", output)
            self.assertIn("refused to load http://example.invalid/picture.png", output)
            self.assertEqual(session.network, [], "the page reached the network")

            # The main menu follows the page's menu state, and Quit ends the program cleanly.
            checks = lambda: re.findall(r"'selectSkinFromMenu-(\d+)': \(true, '[^']*', \[<true>\]\)",
                                        session.app_actions("DescribeAll"))
            poll(lambda: checks() == ["3"], 20, lambda: f"the menu's check mark is on {checks()}, not on skin 3")
            session.app_actions("Activate", "terminate", "[]", "{}")
            self.assertEqual(vimbo.wait(timeout=30), 0)
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
            session.launch(shutil.copy(PROGRAM, os.path.join(prefix, "bin", "vimbo")))
            self.assertEqual(calls_of(session.wait_for_title(ready)), ["outside"] + READY_SEQUENCE)
            self.assertEqual(session.output(0).count(
                "Vimbo web extension is not running: page scripts are evaluated by WebKit one by one, "
                "and the page may read files outside its folder"), 1)


class SoundTest(unittest.TestCase):
    """The program against a private PulseAudio server playing a sine tone. How capture follows the server going
    away and coming back is the capture integration tests' concern."""

    def test_a_playing_tone_moves_the_visuals(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            runtime = os.path.join(session.dir, "pulse")
            session.env["PULSE_SERVER"] = "unix:" + os.path.join(runtime, "native")
            server_env = dict(session.env, PULSE_RUNTIME_PATH=runtime)
            subprocess.run(["pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "-n",
                            "--load=module-native-protocol-unix",
                            "--load=module-null-sink sink_name=vimbo_out format=float32le rate=48000 channels=2",
                            "--load=module-sine sink=vimbo_out frequency=500"],
                           env=server_env, check=True, stdout=subprocess.DEVNULL)
            stack.callback(subprocess.run, ["pulseaudio", "--kill"], env=server_env)
            vimbo = session.launch()
            # A loud frame while the page has heard the capture is running.
            session.wait_for_line(lambda line: "status:ok" in line and
                                  float(line.split(" features __a(", 1)[1].split(",", 1)[0]) > 0.1, timeout=20)
            stop(vimbo)
            self.assertEqual(vimbo.returncode, 0)


class ExportTest(unittest.TestCase):
    """The real page's smoke export through the program's own save dialog, answered as a user would."""

    def test_the_smoke_export_writes_an_mp4_of_h264_and_aac(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            session.env["VIMBO_RESOURCE_DIR"] = os.path.join(os.path.dirname(RESOURCES), "..", "..", "..")
            video = os.path.join(session.dir, "smoke.mp4")
            vimbo = session.launch(None, "--export-smoke-test")
            deadline = time.monotonic() + 60
            while not session.windows_named("Save Video") and time.monotonic() < deadline:
                time.sleep(0.2)
            dialog = session.windows_named("Save Video")
            self.assertTrue(dialog, "no save dialog: " + session.output(0))
            subprocess.run(["xdotool", "windowfocus", "--sync", dialog[0], "key", "ctrl+a", "type", video],
                           env=session.env, check=True)
            subprocess.run(["xdotool", "key", "Return"], env=session.env, check=True)
            while not os.path.exists(video) and time.monotonic() < deadline + 60:
                time.sleep(0.5)
            self.assertFalse(os.path.exists(video + ".partial"))
            found = subprocess.run(["gst-discoverer-1.0", video], capture_output=True, text=True, timeout=30).stdout
            self.assertIn("Duration: 0:00:04.0", found)
            self.assertRegex(found, r"video #\d+: H\.264")
            self.assertRegex(found, r"audio #\d+: MPEG-4 AAC")
            stop(vimbo)
            self.assertEqual(vimbo.returncode, 0)
            self.assertNotIn("export failed", session.output(0))



def window_pids(session):
    """The process ids of the visible main windows."""
    pids = [subprocess.run(["xdotool", "getwindowpid", w], env=session.env, capture_output=True, text=True).stdout
            for w in session.windows_named("Vimbo")]
    return [int(pid) for pid in pids if pid.strip()]


def new_window(session, other_than=None):
    """The process id of the main window once one not owned by `other_than` is up."""
    return poll(lambda: [p for p in window_pids(session) if p != other_than], 40,
                lambda: session.output(len(session.outputs) - 1))[0]


class RelaunchTest(unittest.TestCase):
    def test_a_crash_starts_the_program_again_until_it_crashes_too_often_and_a_kill_does_not(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            # Ended on purpose, it stays down.
            killed = session.launch()
            self.assertEqual(new_window(session), killed.pid)
            killed.kill()
            killed.wait()
            time.sleep(1)  # until the session bus has seen it go
            # Two restarts a moment ago: the third is the last one allowed.
            now = int(time.clock_gettime(time.CLOCK_MONOTONIC))  # the program's clock
            session.env["VIMBO_RESTARTS"] = f"{now - 10},{now - 5}"
            crashed = session.launch()
            self.assertEqual(new_window(session, other_than=killed.pid), crashed.pid)
            crashed.send_signal(signal.SIGTRAP)  # how WebKit's launcher ends the program
            self.assertEqual(crashed.wait(timeout=30), -signal.SIGTRAP)
            os.kill(new_window(session, other_than=crashed.pid), signal.SIGABRT)
            time.sleep(5)
            self.assertEqual(window_pids(session), [])
            self.assertNotIn("again", session.output(0))
            self.assertRegex(session.output(1), r"Vimbo crashed; starting it again(.|\n)*not starting it again")


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
