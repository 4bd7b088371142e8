#!/usr/bin/env python3
"""Loads the real page in WebKitGTK and drives it like the native side does: checks that it defines
every function it must, reports its state, answers menu calls and shows the shortcut sheet, without a
script error. Run inside support/servers.py, whose private desktop also keeps the page's stored
settings out of the user's own profile."""
import collections
import json
import os
import sys
import urllib.parse

REQUIRED_FUNCTIONS = [
    "__a", "__status", "__audioInput", "__micSensitivity", "__music", "__shortcuts", "__glass",
    "__menuSelectSkin", "__menuCycleSkin", "__menuToggleDisplay", "__menuMediaCommand",
    "__menuOpenSettings", "__menuShowShortcuts", "__exportAddFile", "__exportSetBackground",
    "__exportDestination", "__exportWriteFailed", "__exportSaved", "__windowChrome", "__menuBarHidden",
]
MENU_KEYS = ["skin", "dark", "glow", "glass", "keepAwake", "musicInfo", "menuBarVisible",
             "musicControl", "exportMode"]
WAIT = object()
RELOAD = object()
Probe = collections.namedtuple("Probe", "name script")
CATALOG = [{"title": "Skins", "rows": [{"title": "Glossy", "keys": ["Ctrl+1"]}]},
           {"title": "Playback", "rows": [{"title": "Play / Pause", "keys": ["Space", "Ctrl+P"]}]}]


def run_page(page_path):
    import gi
    gi.require_version("Gtk", "3.0")
    gi.require_version("WebKit2", "4.1")
    from gi.repository import GLib, Gtk, WebKit2

    messages = []
    failures = []
    manager = WebKit2.UserContentManager()
    # Collects uncaught errors from the first line of the page on.
    manager.add_script(WebKit2.UserScript.new(
        "window.__pageErrors = [];"
        "addEventListener('error', e => __pageErrors.push(String(e.message)));",
        WebKit2.UserContentInjectedFrames.TOP_FRAME, WebKit2.UserScriptInjectionTime.START, None, None))

    def on_message(_manager, result):
        value = result.get_js_value() if hasattr(result, "get_js_value") else result
        if value.is_string():
            messages.append(value.to_string())

    manager.connect("script-message-received::app", on_message)
    manager.register_script_message_handler("app")
    view = WebKit2.WebView.new_with_user_content_manager(manager)
    view.get_settings().set_enable_write_console_messages_to_stdout(True)
    window = Gtk.Window()
    window.set_default_size(1024, 700)
    window.add(view)
    window.show_all()
    loop = GLib.MainLoop()

    steps = [
        "__status('waiting-system-permission'); __audioInput('microphone'); __micSensitivity(8.0);"
        "__shortcuts(" + json.dumps(CATALOG) + ");",
        "__a(0.5,0.6,0.4,0.3,0.7,1.00,[" + ",".join(["0.500"] * 24) + "]);",
        "__a(NaN,'x',2,-1,0.2,0.00,[]);",
    ]
    # Every skin draws a few frames, in both appearances, so a drawing error in any of them shows.
    for appearance in ("dark", "light"):
        for skin in (2, 6, 3, 4, 5, 7, 0, 1):
            steps += ["window.__menuSelectSkin(%d)" % skin, WAIT]
        steps.append("window.__menuToggleDisplay('dark')")
    steps += [
        "window.__menuSelectSkin(1)",
        "window.__menuCycleSkin(-1)",
        "window.__menuToggleDisplay('glass')",
        "window.__menuMediaCommand('next')",
        "__music({p:true,t:'Song',a:'Artist',c:true})",
        "window.__menuOpenSettings('normal')",
        # The user drags the sensitivity slider to two and picks the system audio.
        "{ const slider = document.getElementById('sensitivity'); slider.value = '400';"
        " slider.dispatchEvent(new Event('input')); slider.dispatchEvent(new Event('change'));"
        " document.querySelector('input[value=systemAudio]').click(); } 0",
        "__micSensitivity(8.0); __audioInput('microphone')",
        "window.__menuShowShortcuts()",
    ]
    probe = ("JSON.stringify({missing: " + json.dumps(REQUIRED_FUNCTIONS)
             + ".filter(n => typeof window[n] !== 'function'), errors: window.__pageErrors,"
             " status: document.getElementById('status').textContent,"
             " sheetOpen: !document.getElementById('shortcutSheet').hidden,"
             " settingsOpen: !document.getElementById('settingsPanel').hidden,"
             " keys: [...document.querySelectorAll('#shortcutSections kbd')].map(k => k.textContent),"
             " microphoneChecked: document.querySelector('input[value=microphone]').checked,"
             " sensitivity: document.getElementById('sensitivityValue').textContent,"
             " track: document.getElementById('track').textContent.replace(/\\s+/g, ' ').trim()})")
    dialogs = ("JSON.stringify({sheetOpen: !document.getElementById('shortcutSheet').hidden,"
               " settingsOpen: !document.getElementById('settingsPanel').hidden})")
    escape = "document.body.dispatchEvent(new KeyboardEvent('keydown', {key: 'Escape', bubbles: true}))"
    steps += [
        WAIT,
        Probe("page", probe),
        escape,
        Probe("firstEscape", dialogs),
        escape,
        Probe("secondEscape", dialogs),
        "document.body.dispatchEvent(new KeyboardEvent('keydown', {key: ' ', bubbles: true}))",
        "__shortcuts([])",
        Probe("emptySheet", "JSON.stringify(document.getElementById('shortcutSections').textContent)"),
        "window.__menuBarHidden && __menuBarHidden()",
        "window.__windowChrome && __windowChrome({mini: true, onTop: true})",
        WAIT,
        Probe("mini", "JSON.stringify({gearBoxes: document.getElementById('settingsButton').getClientRects().length,"
                      " errors: window.__pageErrors})"),
        # Loaded again (as after a web process crash), the page starts from what it stored.
        RELOAD,
        WAIT,
        Probe("reloaded", "JSON.stringify(window.__pageErrors)"),
    ]

    def evaluate(script, then):
        def done(webview, result):
            try:
                value = webview.evaluate_javascript_finish(result)
                then(value.to_string() if value is not None else None)
            except GLib.Error as error:
                failures.append("script failed: " + script + ": " + error.message)
                then(None)
        view.evaluate_javascript(script, -1, None, None, None, done)

    report = {}

    after_reload = []

    def run_steps(index):
        if index == len(steps):
            loop.quit()
        elif steps[index] is RELOAD:
            report["reloadAt"] = len(messages)
            after_reload.append(lambda: run_steps(index + 1))
            view.reload()
        elif steps[index] is WAIT:
            GLib.timeout_add(300, lambda: run_steps(index + 1) and False)
        elif isinstance(steps[index], Probe):
            def keep(text, probe=steps[index]):
                report[probe.name] = json.loads(text) if text else None
                run_steps(index + 1)
            evaluate(steps[index].script, keep)
        else:
            evaluate(steps[index], lambda _value: run_steps(index + 1))

    def on_load(_view, event):
        if event != WebKit2.LoadEvent.FINISHED:
            return
        # Let a few animation frames run before driving the page.
        if "started" not in report:
            report["started"] = True
            GLib.timeout_add(300, lambda: run_steps(0) and False)
        elif after_reload:
            GLib.timeout_add(300, lambda: after_reload.pop()() and False)

    view.connect("load-changed", on_load)
    view.load_uri("file://" + urllib.parse.quote(os.path.abspath(page_path)) + "?shortcuts-ui-test")
    GLib.timeout_add_seconds(30, lambda: (failures.append("timed out"), loop.quit()))
    loop.run()
    return messages, report, failures


def menu_states(messages):
    return [json.loads(urllib.parse.unquote(m[len("menuState:"):]))
            for m in messages if m.startswith("menuState:")]


def check(all_messages, report, failures):
    def fail_if(condition, message):
        if condition:
            failures.append(message)

    reload_at = report.get("reloadAt", len(all_messages))
    messages, reloaded = all_messages[:reload_at], all_messages[reload_at:]
    states = menu_states(messages)
    fail_if(not states, "no menuState message")
    for state in states:
        if list(state.keys()) != MENU_KEYS or not isinstance(state["skin"], int) or not all(
                isinstance(state[k], bool) for k in MENU_KEYS[1:]):
            failures.append("malformed menu state: " + json.dumps(state))
    # One state at load, one per menu call and one when music control appears.
    fail_if(len(states) < 26, "expected a menu state per menu call, got %d" % len(states))
    skins = [s["skin"] for s in states]
    # Dust (id 1) is fifth in menu order; the one before it is Mesh (id 3).
    fail_if(1 not in skins or skins[-1] != 3, "skin did not follow select(1) then cycle(-1): %s" % skins)
    fail_if(not states or states[-1]["glass"] == states[0]["glass"], "glass toggle not reflected in the menu state")
    fail_if(not states or not states[-1]["musicControl"], "controllable track did not enable music control")
    for expected in ["media:next", "keepAwake:1", "musicInfo:1", "menuBar:1"]:
        if expected not in messages:
            failures.append("missing message " + expected)
    fail_if(not any(m in messages for m in ("glass:1", "glass:0")), "glass toggle posted nothing")
    fail_if(not any(m.startswith("dragThrough:[[") for m in messages), "no drag-through rectangles posted")
    page = report.get("page") or {}
    fail_if(page.get("missing"), "functions not defined: %s" % page.get("missing"))
    fail_if(page.get("errors"), "script errors: %s" % page.get("errors"))
    if "waiting for a sound server" not in page.get("status", ""):
        failures.append("status not shown in words: %r" % page.get("status"))
    fail_if(page.get("keys") != ["Ctrl+1", "Space", "Ctrl+P"], "shortcut sheet keys: %s" % page.get("keys"))
    fail_if(not page.get("sheetOpen") or not page.get("settingsOpen"), "sheet or settings not open: %s" % page)
    if not page.get("microphoneChecked") or page.get("sensitivity") != "×8.00":
        failures.append("input or sensitivity not reflected: %s" % page)
    fail_if(page.get("track") != "Song Artist", "track info not shown: %r" % page.get("track"))
    # Esc closes the topmost dialog first.
    if report.get("firstEscape") != {"sheetOpen": False, "settingsOpen": True}:
        failures.append("first Esc: %s" % report.get("firstEscape"))
    if report.get("secondEscape") != {"sheetOpen": False, "settingsOpen": False}:
        failures.append("second Esc: %s" % report.get("secondEscape"))
    if "micSensitivity:2" not in messages or "audioInput:systemAudio" not in messages:
        failures.append("slider or source choice not posted")
    fail_if("media:playpause" not in messages, "Space with a controllable player did not post media:playpause")
    fail_if(report.get("emptySheet") != "No shortcuts", "empty catalog shows %r" % report.get("emptySheet"))
    # Hidden from the icon's own menu: the page records it without echoing it back.
    if not states or states[-1]["menuBarVisible"] or "menuBar:0" in messages:
        failures.append("menu bar hide not recorded as expected")
    drag = [m for m in messages if m.startswith("dragThrough:")]
    restored = menu_states(reloaded)[:1]
    if not restored or (restored[0]["skin"], restored[0]["glass"], restored[0]["menuBarVisible"]) != (3, True, False):
        failures.append("settings not restored after reload: %s" % restored)
    if "glass:1" not in reloaded or "menuBar:0" not in reloaded:
        failures.append("restored settings not posted after reload: %s" % reloaded)
    fail_if(report.get("reloaded"), "script errors after reload: %s" % report.get("reloaded"))
    mini = report.get("mini") or {}
    fail_if(mini.get("errors"), "script errors: %s" % mini.get("errors"))
    if mini.get("gearBoxes") != 0 or not drag or drag[-1] != "dragThrough:[]":
        failures.append("mini player: settings button still shown or drag rects kept: %s %s"
                        % (mini, drag[-1:]))


if __name__ == "__main__":
    messages, report, failures = run_page(sys.argv[1])
    check(messages, report, failures)
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        print("messages: %s" % messages)
    sys.exit(1 if failures else 0)
