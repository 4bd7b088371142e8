#!/usr/bin/python3
"""CPU of WebKit's web process while the page animates each skin, fed 60 "__a(" calls a second
like the frame tick does. Runs its own Xvfb; prints one line per skin.

    bench/page_cpu.py [seconds-per-skin]   (default 10; needs python3-gi, gir1.2-webkit2-4.1, xvfb)

WEBKIT_DISABLE_COMPOSITING_MODE=1 is set as the tests do: under Xvfb, compositing through software
GL costs far more than the page itself."""
import math
import os
import subprocess
import sys
import tempfile

PAGE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web", "index.html")
SKINS = [(0, "Glossy"), (2, "Contour"), (6, "Bubble"), (3, "Mesh"), (1, "Dust"), (4, "Dandelion"),
         (5, "Parasite"), (7, "Wake")]
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def process_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND


def web_process_pids():
    pids = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                    if b"WebKitWebProcess" in cmdline.read() and int(entry) != os.getpid():
                        pids.append(int(entry))
            except OSError:
                pass
    return pids


def measure(seconds):
    import gi
    gi.require_version("Gtk", "3.0")
    gi.require_version("WebKit2", "4.1")
    from gi.repository import GLib, Gtk, WebKit2

    before = set(web_process_pids())
    view = WebKit2.WebView()
    window = Gtk.Window()
    window.set_default_size(1100, 760)
    window.add(view)
    window.show_all()
    clock = {"t": 0.0}

    def feed():
        clock["t"] += 1 / 60
        t = clock["t"]
        beat = 1.0 if int(t * 2) != int((t - 1 / 60) * 2) else 0.0
        spectrum = ",".join("%.3f" % (0.5 + 0.45 * math.sin(t * 2 + band * 0.5)) for band in range(24))
        view.evaluate_javascript("__a(0.600,%.3f,0.500,0.400,0.600,%.2f,[%s])"
                                 % (0.5 + 0.4 * math.sin(t * 3), beat, spectrum), -1, None, None, None, None)
        return True

    results = []

    def run_skin(index):
        if index == len(SKINS):
            Gtk.main_quit()
            return False
        skin_id, name = SKINS[index]
        view.evaluate_javascript("window.__menuSelectSkin(%d)" % skin_id, -1, None, None, None, None)
        pids = [pid for pid in web_process_pids() if pid not in before]
        start = sum(process_seconds(pid) for pid in pids)

        def finish():
            used = sum(process_seconds(pid) for pid in pids) - start
            results.append("%-10s %5.1f %% of one core" % (name, 100 * used / seconds))
            run_skin(index + 1)
            return False

        GLib.timeout_add(int(seconds * 1000), finish)
        return False

    def on_load(_view, event):
        if event == WebKit2.LoadEvent.FINISHED:
            GLib.timeout_add(16, feed)
            GLib.timeout_add(1000, lambda: run_skin(0))

    view.connect("load-changed", on_load)
    view.load_uri("file://" + os.path.abspath(PAGE))
    Gtk.main()
    print("\n".join(results))


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 10.0
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                               "-nolisten", "tcp"], pass_fds=[write_end])
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = ":" + pipe.readline().strip()
    try:
        with tempfile.TemporaryDirectory() as home:
            env = dict(os.environ, DISPLAY=display, HOME=home, WEBKIT_DISABLE_COMPOSITING_MODE="1")
            return subprocess.run([sys.executable, __file__, "--measure", str(seconds)], env=env).returncode
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--measure":
        measure(float(sys.argv[2]))
    else:
        sys.exit(main())
