#!/usr/bin/env python3
"""Drives the page's video export in WebKitGTK as the native side does: the smoke-test export of the
built-in clip, answered and written like the native chunk writer; the skin check of the export screen;
and a web process that dies mid-export. Run inside support/servers.py."""
import base64
import json
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from webkit_page import menu_states, page_uri, page_view  # noqa: E402

STATE = "return JSON.stringify({message: document.getElementById('exportMessage').textContent, errors: __pageErrors});"


def mp4_summary(data):
    """The file's top-level boxes, its length from the movie header and what its movie box holds."""
    top, start = {}, 0
    while start + 8 <= len(data):
        size, kind = struct.unpack(">I4s", data[start:start + 8])
        if size < 8 or start + size > len(data):
            raise ValueError("bad box at %d" % start)
        top[kind.decode("latin-1")] = bytes(data[start + 8:start + size])
        start += size
    moov = top["moov"]
    header = moov.index(b"mvhd") + 4  # then version and flags, creation and modification times
    timescale, duration = struct.unpack(">II", moov[header + 12:header + 20])
    return {"boxes": sorted(top), "seconds": round(duration / timescale, 1),
            "avc1": b"avc1" in moov, "mp4a": b"mp4a" in moov, "tracks": moov.count(b"trak")}


class NativeSide:
    """The native export rules the page relies on: destination, chunk writes at offsets, finish."""

    def __init__(self, view, crash_during_export=False):
        self.view, self.crash_during_export = view, crash_during_export
        self.file, self.messages, self.estimate, self.ended = bytearray(), [], None, False

    def call(self, script):
        self.view.evaluate_javascript(script, -1, None, None, None, None, None)

    def receive(self, text):
        self.messages.append(text if not text.startswith("export:write:") else "export:write")
        if text.startswith("export:save:"):
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
    skin = visit("?export-ui-test&export-skin-resume-test", NativeSide(view), 3)
    state("skin")
    crash = visit("?export-smoke-test", NativeSide(view, crash_during_export=True), 60)
    native[0] = crash
    view.load_uri(page)
    GLib.timeout_add(2500, loop.quit)
    loop.run()
    state("crash")
    return smoke, skin, crash, results


def check(smoke, skin, crash, results):
    failures = []
    try:
        summary = mp4_summary(smoke.file)
    except (KeyError, ValueError, struct.error) as error:
        summary = "unreadable: %s" % error
    expected = {"boxes": ["ftyp", "mdat", "moov"], "seconds": 4.0, "avc1": True, "mp4a": True, "tracks": 2}
    if summary != expected:
        failures.append("smoke MP4: %s" % summary)
    if "export:save:%s:Vimbo%%20Smoke%%20Test.mp4" % smoke.estimate not in smoke.messages:
        failures.append("smoke messages: %s" % smoke.messages[:5])
    if not smoke.estimate or not 0.5 * smoke.estimate < len(smoke.file) < 1.5 * smoke.estimate:
        failures.append("estimate %s for a file of %d bytes" % (smoke.estimate, len(smoke.file)))
    if results.get("smoke", {}).get("message") != "The video was saved.":
        failures.append("smoke screen: %s" % results.get("smoke"))
    modes = [state["exportMode"] for state in menu_states(skin.messages)]
    if any(m.startswith("export:error:") for m in skin.messages) or True not in modes:
        failures.append("skin check: %s, export modes %s" % ([m for m in skin.messages if m.startswith("export:")], modes))
    if "export:cancel" not in crash.messages or not results.get("crash", {}).get("message", "").startswith("The export failed"):
        failures.append("after a crash: %s, %s" % (crash.messages[-5:], results.get("crash")))
    failures += ["%s: page errors %s" % (name, r["errors"]) for name, r in results.items() if r["errors"]]
    failures += ["%s export did not end" % name for name, side in [("smoke", smoke), ("crash", crash)] if not side.ended]
    return failures


if __name__ == "__main__":
    failures = check(*run(sys.argv[1]))
    for failure in failures:
        print("FAIL: " + failure)
    sys.exit(1 if failures else 0)
