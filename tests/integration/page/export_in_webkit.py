#!/usr/bin/env python3
"""Drives the page's video export in WebKitGTK as the native side does: the smoke-test export of the
built-in clip, answered and written like the native chunk writer; two picked files exported back to
back; the skin check of the export screen; and a web process that dies mid-export. Run inside
support/servers.py."""
import base64
import json
import math
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from webkit_page import menu_states, page_uri, page_view  # noqa: E402

STATE = ("return JSON.stringify({message: document.getElementById('exportMessage').textContent, errors: __pageErrors,"
         " covered: ['settingsButton', 'miniButton'].filter(id => document.getElementById(id).getClientRects().length)});")


def discovered(data):
    """What GStreamer's discoverer reads in the file: its length and its streams' formats."""
    with tempfile.NamedTemporaryFile(suffix=".mp4") as file:
        file.write(data)
        file.flush()
        return subprocess.run(["gst-discoverer-1.0", file.name], capture_output=True, text=True, timeout=60).stdout


def wav(seconds, rate, channels):
    """Base64 of a 16-bit WAV file of a 440 Hz tone."""
    frames = [int(8000 * math.sin(2 * math.pi * 440 * i / rate)) for i in range(int(seconds * rate))]
    data = b"".join(struct.pack("<h", x) * channels for x in frames)
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, channels, rate,
                         rate * channels * 2, channels * 2, 16, b"data", len(data))
    return base64.b64encode(header + data).decode()


# What the audio picker sends for a long mono file at 44.1 kHz and a short stereo one; once both are
# listed, Start.
PICKED = """__exportAddFile('%s','Long Mono'); __exportAddFile('%s','Short');
const started = setInterval(() => { if (document.querySelectorAll('#exportTracks li').length === 2) {
  clearInterval(started); document.querySelector('[data-action=start]').click(); } }, 50);""" % (
    wav(1.5, 44100, 1), wav(1, 48000, 2))


class NativeSide:
    """The native export rules the page relies on: destination, chunk writes at offsets, finish."""

    def __init__(self, view, crash_during_export=False, on_open=None):
        self.view, self.crash_during_export, self.on_open = view, crash_during_export, on_open
        self.file, self.messages, self.estimate, self.ended = bytearray(), [], None, False

    def call(self, script):
        self.view.evaluate_javascript(script, -1, None, None, None, None, None)

    def receive(self, text):
        self.messages.append(text if not text.startswith("export:write:") else "export:write")
        if self.on_open and text.startswith("menuState:") and menu_states([text])[0]["exportMode"]:
            self.call(self.on_open)
            self.on_open = None
        elif text.startswith("export:save:"):
            self.estimate = int(text.split(":")[2])
            self.call("__exportDestination(true, '')")
        elif text == "export:begin" and self.crash_during_export:
            from gi.repository import GLib
            GLib.timeout_add(300, self.view.terminate_web_process)
        elif text.startswith("export:write:"):
            offset, data = text[len("export:write:"):].split(":", 1)
            chunk = base64.b64decode(data, validate=True)
            end = int(offset) + len(chunk)
            self.file.extend(b"\0" * max(0, end - len(self.file)))
            self.file[int(offset):end] = chunk
        elif text == "export:finish":
            self.call("__exportSaved(true)")


def run(page_path):
    from gi.repository import GLib

    loop = GLib.MainLoop()
    results, native = {}, [None]

    def on_text(text):
        native[0].receive(text)
        if text in ("export:finish", "export:cancel") or text.startswith("export:error:"):
            end()

    def end(*_):
        native[0].ended = True
        GLib.timeout_add(1500, loop.quit)

    view = page_view(on_text, 900, 640)
    page = page_uri(page_path)
    view.connect("web-process-terminated", end)

    def state(name):
        view.call_async_javascript_function(STATE, -1, None, None, None, None,
                                            lambda v, r: (results.__setitem__(name, json.loads(
                                                v.call_async_javascript_function_finish(r).to_string())), loop.quit()))
        loop.run()

    def visit(query, native_side, seconds):
        native[0] = native_side
        view.load_uri(page + query)
        timer = GLib.timeout_add_seconds(seconds, loop.quit)
        loop.run()
        if native_side.ended:
            GLib.source_remove(timer)
        return native_side

    smoke = visit("?export-smoke-test", NativeSide(view), 90)
    state("smoke")
    picked = visit("?export-ui-test", NativeSide(view, on_open=PICKED), 60)
    state("picked")
    skin = visit("?export-ui-test&export-skin-resume-test", NativeSide(view), 3)
    state("skin")
    crash = visit("?export-smoke-test", NativeSide(view, crash_during_export=True), 60)
    native[0] = crash
    view.load_uri(page)
    GLib.timeout_add(2500, loop.quit)
    loop.run()
    state("crash")
    return smoke, picked, skin, crash, results


def check_export(name, side, seconds, file_name, results):
    failures = []
    found = discovered(bytes(side.file))
    if not all(part in found for part in ("Duration: 0:00:%04.1f" % seconds, "H.264", "MPEG-4 AAC")):
        failures.append("%s MP4: %s" % (name, found[-400:]))
    if "export:save:%s:%s" % (side.estimate, file_name) not in side.messages:
        failures.append("%s messages: %s" % (name, side.messages[:5]))
    if not side.estimate or len(side.file) > side.estimate:  # the free-space check relies on it
        failures.append("%s: estimate %s for a file of %d bytes" % (name, side.estimate, len(side.file)))
    if results.get(name, {}).get("message") != "The video was saved.":
        failures.append("%s screen: %s" % (name, results.get(name)))
    return failures


def check(smoke, picked, skin, crash, results):
    failures = check_export("smoke", smoke, 4.0, "Vimbo%20Smoke%20Test.mp4", results)
    failures += check_export("picked", picked, 2.5, "Long%20Mono.mp4", results)
    modes = [state["exportMode"] for state in menu_states(skin.messages)]
    if results.get("skin", {}).get("covered") != []:
        failures.append("buttons under the export screen: %s" % results.get("skin"))
    if any(m.startswith("export:error:") for m in skin.messages) or True not in modes:
        failures.append("skin check: %s, export modes %s" % ([m for m in skin.messages if m.startswith("export:")], modes))
    if "export:cancel" not in crash.messages or not results.get("crash", {}).get("message", "").startswith("The export failed"):
        failures.append("after a crash: %s, %s" % (crash.messages[-5:], results.get("crash")))
    failures += ["%s: page errors %s" % (name, r["errors"]) for name, r in results.items() if r["errors"]]
    failures += ["%s export did not end" % name for name, side in [("smoke", smoke), ("picked", picked), ("crash", crash)]
                 if not side.ended]
    return failures


if __name__ == "__main__":
    failures = check(*run(sys.argv[1]))
    for failure in failures:
        print("FAIL: " + failure)
    sys.exit(1 if failures else 0)
