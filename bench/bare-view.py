#!/usr/bin/python3
"""A bare WebKitGTK window showing the program's page with no native side, the reference of
bench/app-cpu.sh: the same page at the same size and WebKit settings, with the chosen skin, fed a
recorded feature stream (the lines vimbo-analyze prints) at 60 lines a second like the frame tick,
or nothing at all for silence. Runs until it is killed.

    bench/bare-view.py PAGE SKIN_ID [FEATURE_FILE]"""
import os
import sys
import time

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

TICKS_PER_SECOND = 60


def show(page, skin, lines):
    view = WebKit2.WebView()
    # As the program does where OpenGL renders in software, as under Xvfb.
    view.get_settings().set_hardware_acceleration_policy(WebKit2.HardwareAccelerationPolicy.NEVER)
    window = Gtk.Window()
    window.set_default_size(1100, 760)
    window.add(view)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    fed = {"start": 0.0, "tick": -1, "line": None}

    def feed():
        # The lines follow the clock, not the timer's count, so drift cannot change their rate;
        # like the program, a line the page already has is not sent again.
        tick = int((time.monotonic() - fed["start"]) * TICKS_PER_SECOND)
        if tick != fed["tick"]:
            fed["tick"] = tick
            line = lines[tick % len(lines)]
            if line != fed["line"]:
                fed["line"] = line
                view.evaluate_javascript(line, -1, None, None, None, None)
        return True

    def on_load(_view, event):
        if event == WebKit2.LoadEvent.FINISHED:
            view.evaluate_javascript("__menuSelectSkin(%d)" % skin, -1, None, None, None, None)
            if lines:
                fed["start"] = time.monotonic()
                GLib.timeout_add(1000 // TICKS_PER_SECOND, feed)

    view.connect("load-changed", on_load)
    view.load_uri(GLib.filename_to_uri(os.path.abspath(page), None))
    Gtk.main()


def main(argv):
    if len(argv) not in (3, 4):
        sys.exit(__doc__)
    lines = []
    if len(argv) == 4:
        with open(argv[3]) as stream:
            lines = [line.strip() for line in stream if line.startswith("__a(")]
        if not lines:
            sys.exit("no feature lines in " + argv[3])
    show(argv[1], int(argv[2]), lines)


if __name__ == "__main__":
    main(sys.argv)
