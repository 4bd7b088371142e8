#!/usr/bin/env python3
"""Runs the real vimbo program on a private desktop with a test page: a key accelerator reaches the
page, the menu's check marks follow the page's "menuState:" answers (read over the application's
exported actions on the session bus), and Quit ends the program."""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import servers  # noqa: E402

APP_PATH = "/org/vimbo/Vimbo"
APP_NAME = "org.vimbo.Vimbo"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = probe()
        if result:
            return result
        time.sleep(0.1)
    raise Failure("timed out waiting for " + what)


def last_title(log_path):
    """The page title of the newest once-a-second debug line."""
    try:
        with open(log_path, encoding="utf-8") as log:
            titles = re.findall(r" title=(.*)$", log.read(), re.MULTILINE)
    except FileNotFoundError:
        return None
    return titles[-1] if titles else None


def gdbus(env, *call):
    return subprocess.run(["gdbus", "call", "--session", "--dest", APP_NAME, "--object-path", APP_PATH,
                           "--method", *call], env=env, capture_output=True, text=True, timeout=10)


def actions(env):
    """Every exported action as name -> (enabled, state or None)."""
    output = gdbus(env, "org.gtk.Actions.DescribeAll")
    if output.returncode != 0:
        return None
    found = {}
    for name, enabled, state in re.findall(r"'([\w.-]+)': \((true|false), (?:signature )?'[^']*', (?:@av )?\[(?:<(\w+)>)?\]\)",
                                           output.stdout):
        found[name] = (enabled == "true", None if state == "" else state == "true")
    return found


def run(program, env, home):
    log_path = os.path.join(home, "vimbo-debug.log")
    env = dict(env, VIMBO_RESOURCE_DIR=os.path.join(os.path.dirname(os.path.abspath(__file__)), "resources"),
               ASAN_OPTIONS="detect_leaks=0", PULSE_SERVER="unix:" + os.path.join(home, "no-pulse"))
    process = subprocess.Popen([program, "--debug"], env=env)
    try:
        # The page's first state puts the check mark on skin 0 and keeps Glow checked but disabled.
        states = wait_for("the first menu state",
                          lambda: (a := actions(env)) and a.get("selectSkinFromMenu-0", (0, None))[1] and a)
        check(states["toggleDisplayFromMenu-glow"] == (False, True), "Glow must be checked but disabled")

        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Vimbo$"],
                                env=env, capture_output=True, text=True, timeout=20).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "ctrl+5"], env=env, check=True,
                       timeout=20)
        wait_for("the page to receive skin 1", lambda: "skin:1" in (last_title(log_path) or ""))
        states = wait_for("the check mark on Dust",
                          lambda: (a := actions(env)) and a["selectSkinFromMenu-1"][1] and a)
        checked = [name for name, (_, on) in states.items() if name.startswith("selectSkinFromMenu-") and on]
        check(checked == ["selectSkinFromMenu-1"], "checked skins: " + ", ".join(checked))

        check(gdbus(env, "org.gtk.Actions.Activate", "terminate", "[]", "{}").returncode == 0, "Quit failed")
        check(process.wait(timeout=20) == 0, "vimbo did not exit cleanly after Quit")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    with servers.desktop() as (env, home):
        try:
            run(sys.argv[1], env, home)
        except (Failure, subprocess.SubprocessError) as error:
            print("FAILED:", error, file=sys.stderr)
            log_path = os.path.join(home, "vimbo-debug.log")
            if os.path.exists(log_path):
                with open(log_path, encoding="utf-8") as log:
                    print(log.read()[-3000:], file=sys.stderr)
            return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
