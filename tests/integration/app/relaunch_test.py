"""The vimbo program started again after a crash, and only then.

Usage: relaunch_test.py VIMBO_PROGRAM [unittest arguments]
"""
import contextlib
import os
import signal
import subprocess
import sys
import time
import unittest

import app_test
from app_test import VimboSession


def window_owner(session, other_than=None, timeout=40):
    """The process id of the visible main window once one not owned by `other_than` is up."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for window in session.windows_named("Vimbo"):
            pid = subprocess.run(["xdotool", "getwindowpid", window], env=session.env, capture_output=True,
                                 text=True).stdout.strip()
            if pid and int(pid) != other_than:
                return int(pid)
        time.sleep(0.2)
    return None


def wait_for_output(session, text, timeout=20):
    deadline = time.monotonic() + timeout
    while text not in session.output(0) and time.monotonic() < deadline:
        time.sleep(0.2)
    return session.output(0)


class RelaunchTest(unittest.TestCase):
    def crash(self, session, signal_number):
        vimbo = session.launch()
        self.assertEqual(window_owner(session), vimbo.pid, session.output(0))
        vimbo.send_signal(signal_number)
        self.assertEqual(vimbo.wait(timeout=30), -signal_number)
        return vimbo

    def test_a_crash_starts_the_program_again_but_a_kill_does_not(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            crashed = self.crash(session, signal.SIGTRAP)  # how WebKit's launcher ends the program
            again = window_owner(session, other_than=crashed.pid)
            self.assertIsNotNone(again, session.output(0))
            stack.callback(lambda: subprocess.run(["kill", "-9", str(again)], stderr=subprocess.DEVNULL))
            self.assertIn("Vimbo crashed; starting it again", session.output(0))
            # Ended on purpose, it stays down.
            os.kill(again, signal.SIGKILL)
            time.sleep(5)
            self.assertIsNone(window_owner(session, timeout=1))
            self.assertEqual(session.output(0).count("starting it again"), 1)

    def test_a_crash_soon_after_three_restarts_leaves_it_down(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            now = int(time.clock_gettime(time.CLOCK_BOOTTIME))
            session.env["VIMBO_RESTARTS"] = f"{now - 10},{now - 5},{now}"
            self.crash(session, signal.SIGABRT)
            self.assertIn("not starting it again", wait_for_output(session, "not starting it again"))
            self.assertIsNone(window_owner(session, timeout=3))


if __name__ == "__main__":
    app_test.PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
