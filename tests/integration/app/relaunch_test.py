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


class RelaunchTest(unittest.TestCase):
    def test_a_crash_starts_the_program_again_until_it_crashes_too_often_and_a_kill_does_not(self):
        with contextlib.ExitStack() as stack:
            session = VimboSession(stack)
            # Ended on purpose, it stays down.
            killed = session.launch()
            self.assertEqual(window_owner(session), killed.pid, session.output(0))
            killed.kill()
            # Two restarts a moment ago: the third is the last one allowed.
            now = int(time.clock_gettime(time.CLOCK_BOOTTIME))
            session.env["VIMBO_RESTARTS"] = f"{now - 10},{now - 5}"
            crashed = session.launch()
            self.assertEqual(window_owner(session, other_than=killed.pid), crashed.pid, session.output(1))
            crashed.send_signal(signal.SIGTRAP)  # how WebKit's launcher ends the program
            self.assertEqual(crashed.wait(timeout=30), -signal.SIGTRAP)
            again = window_owner(session, other_than=crashed.pid)
            self.assertIsNotNone(again, session.output(1))
            os.kill(again, signal.SIGABRT)
            time.sleep(5)
            self.assertIsNone(window_owner(session, timeout=1))
            self.assertNotIn("again", session.output(0))
            self.assertRegex(session.output(1), r"Vimbo crashed; starting it again(.|\n)*not starting it again")


if __name__ == "__main__":
    app_test.PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
