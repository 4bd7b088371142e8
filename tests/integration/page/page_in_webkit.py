#!/usr/bin/env python3
"""Loads the real page in WebKitGTK and drives it as the native side does, checking what it posts and
shows. Run inside support/servers.py, whose private desktop keeps the page's stored settings out of the
user's own profile."""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from webkit_page import menu_states, page_uri, page_view  # noqa: E402

CATALOG = [{"title": "Skins", "rows": [{"title": "Glossy", "keys": ["Ctrl+1"]}]},
           {"title": "Playback", "rows": [{"title": "Play / Pause", "keys": ["Space", "Ctrl+P"]}]}]
MENU_KEYS = ["skin", "dark", "glow", "glass", "keepAwake", "musicInfo", "menuBarVisible", "musicControl", "exportMode"]
# Each script first lets a few animation frames run.
SETTLE = "const wait = () => new Promise(done => setTimeout(done, 300)); await wait();"
# One async script: a call that throws or a native-side call the page lacks ends it with an error.
DRIVE = SETTLE + """
const shown = id => !document.getElementById(id).hidden;
const dialogs = () => ({sheetOpen: shown('shortcutSheet'), settingsOpen: shown('settingsPanel')});
const key = (name, ctrlKey = false) => document.body.dispatchEvent(new KeyboardEvent('keydown', {key: name, ctrlKey, bubbles: true}));
const report = {};
// The native side's calls that no step makes.
report.missing = ['__glass', '__exportAddFile', '__exportSetBackground', '__exportDestination',
                  '__exportWriteFailed', '__exportSaved'].filter(n => typeof window[n] !== 'function');
__status('waiting-system-permission'); __audioInput('microphone'); __micSensitivity(8.0); __shortcuts(CATALOG);
// Every skin in both appearances, held in silence and then at full loudness: the loud canvas is
// not blank and differs from the silent one, Glossy keeps clear of the status pill, and each
// switch names the new skin (Glossy, first, is already the skin at load).
const canvas = document.getElementById('visuals');
const small = document.createElement('canvas').getContext('2d', {willReadFrequently: true});
small.canvas.width = 110; small.canvas.height = 76;
// Alpha coverage of the canvas in 22 x 15 blocks.
const coverage = () => { small.clearRect(0, 0, 110, 76); small.drawImage(canvas, 0, 0, 110, 76);
    const alpha = small.getImageData(0, 0, 110, 76).data, blocks = new Float32Array(22 * 15);
    for (let p = 0; p < 110 * 76; p++)
        blocks[Math.floor(p / 550) * 22 + Math.floor(p % 110 / 5)] += alpha[p * 4 + 3] / (25 * 255);
    return blocks; };
const hold = async (value, ms) => { const feed = setInterval(() => __a(value, value, value, value, value, value,
    new Array(24).fill(value)), 16); await new Promise(done => setTimeout(done, ms)); clearInterval(feed); };
const pillRows = Math.ceil(document.getElementById('status').getBoundingClientRect().bottom * devicePixelRatio);
report.skins = []; report.toastMisses = [];
for (const appearance of ['dark', 'light']) {
    for (const skin of Vimbo.skinCatalog.SKINS) {
        __menuSelectSkin(skin.id);
        const toast = document.getElementById('skinToast');
        const named = toast.classList.contains('shown') ? toast.textContent : '';
        const expected = appearance === 'dark' && skin.name === 'Glossy' ? '' : skin.name;
        if (named !== expected) report.toastMisses.push(named);
        await hold(0, 500); const silent = coverage();
        await hold(1, 300); const loud = coverage();
        const sum = blocks => blocks.reduce((a, b) => a + b, 0);
        const inked = sum(loud) / loud.length;
        const change = sum(loud.map((value, i) => Math.abs(value - silent[i]))) / (sum(loud) + sum(silent));
        const strip = canvas.getContext('2d').getImageData(0, 0, canvas.width, pillRows).data;
        const onPill = skin.name === 'Glossy' && strip.some((v, i) => i % 4 === 3 && v > 8);
        if (inked < 0.01 || change < 0.1 || onPill)
            report.skins.push({skin: skin.name, appearance, inked, change, onPill});
    }
    __menuToggleDisplay('dark');
}
__menuSelectSkin(1); __menuCycleSkin(-1); __menuToggleDisplay('glass'); __menuMediaCommand('next');
__music({p: true, t: 'Song', a: 'Artist', c: true}); document.querySelector('#track [data-media=prev]').click();
__menuOpenSettings('normal');
// The user drags the sensitivity slider one octave (100 steps) above the middle's 1.0 and picks the system audio.
const slider = document.getElementById('sensitivity');
slider.value = '400'; slider.dispatchEvent(new Event('input')); slider.dispatchEvent(new Event('change'));
document.querySelector('input[value=systemAudio]').click();
__micSensitivity(8.0); __audioInput('microphone'); __menuShowShortcuts(); await wait();
report.page = {errors: [...__pageErrors], ...dialogs(),
    waiting: document.getElementById('status').textContent.includes('waiting for a sound server'),
    keys: [...document.querySelectorAll('#shortcutSections kbd')].map(k => k.textContent),
    microphone: document.querySelector('input[value=microphone]').checked,
    sensitivity: document.getElementById('sensitivityValue').textContent,
    track: document.getElementById('track').textContent.replace(/\\s+/g, ' ').trim()};
// Esc closes the dialog; Ctrl+, toggles the settings, whose sensitivity is idle with system audio.
key('Escape'); report.escape = dialogs(); __audioInput('systemAudio'); key(',', true);
report.settingsKey = {...dialogs(), sliderDisabled: slider.matches(':disabled')};
key(' ');
document.getElementById('miniButton').click();
__menuBarHidden(); __windowChrome({mini: true, onTop: true}); await wait();
const pin = document.getElementById('pinButton');
report.mini = {gearBoxes: document.getElementById('settingsButton').getClientRects().length,
    pinPressed: pin.getAttribute('aria-pressed'), errors: __pageErrors};
pin.click();
return JSON.stringify(report);
""".replace("CATALOG", json.dumps(CATALOG))
# Loaded again (as after a web process crash), the page starts from what it stored, without a toast.
AFTER_RELOAD = SETTLE + """
return JSON.stringify({reloaded: {errors: __pageErrors, toastShown: document.getElementById('skinToast').classList.contains('shown')}});
"""
EXPECTED = {
    "missing": [],
    "page": {"errors": [], "sheetOpen": True, "settingsOpen": False, "waiting": True,
             "keys": ["Ctrl+1", "Space", "Ctrl+P"], "microphone": True, "sensitivity": "×8.00", "track": "Song Artist"},
    "escape": {"sheetOpen": False, "settingsOpen": False},
    "settingsKey": {"sheetOpen": False, "settingsOpen": True, "sliderDisabled": True},
    "mini": {"gearBoxes": 0, "pinPressed": "true", "errors": []},
    "skins": [],
    "toastMisses": [],
    "reloaded": {"errors": [], "toastShown": False},
}


def run_page(page_path):
    from gi.repository import GLib, WebKit2

    messages, failures, report, scripts = [], [], {}, [DRIVE, AFTER_RELOAD]
    view = page_view(messages.append, 1024, 700)
    loop = GLib.MainLoop()

    def finished(webview, result):
        try:
            report.update(json.loads(webview.call_async_javascript_function_finish(result).to_string()))
        except GLib.Error as error:
            failures.append("page script failed: " + error.message)
        if scripts:
            report["reloadAt"] = len(messages)
            webview.reload()
        else:
            loop.quit()

    def on_load(_view, event):
        if event == WebKit2.LoadEvent.FINISHED:
            view.call_async_javascript_function(scripts.pop(0), -1, None, None, None, None, finished)

    view.connect("load-changed", on_load)
    view.load_uri(page_uri(page_path) + "?shortcuts-ui-test")
    GLib.timeout_add_seconds(60, lambda: (failures.append("timed out"), loop.quit()))
    loop.run()
    return messages, report, failures


def check(all_messages, report, failures):
    reload_at = report.get("reloadAt", len(all_messages))
    messages, reloaded = all_messages[:reload_at], all_messages[reload_at:]
    states = menu_states(messages) or [{}]
    drag = [m for m in messages if m.startswith("dragThrough:")] or [None]
    restored = (menu_states(reloaded) or [{}])[0]
    failures += ["%s: %s, expected %s" % (name, report.get(name), value)
                 for name, value in EXPECTED.items() if report.get(name) != value]
    failures += [message for ok, message in [
        # Percent-encoded, all nine keys in order, typed as the native side requires.
        (all(m.startswith("menuState:%7B%22skin%22%3A") for m in messages if m.startswith("menuState:")) and all(
            list(s) == MENU_KEYS and type(s["skin"]) is int and all(type(s[k]) is bool for k in MENU_KEYS[1:])
            for s in states), "malformed menu state: %s" % states),
        (states[-1].get("musicControl"), "controllable track did not enable music control"),
        # The main layout keeps its controls below the strip; in the mini player its two buttons sit in
        # the strip and let clicks through.
        (drag[0] == "dragThrough:[]", "main layout drag-through: %s" % drag[0]),
        (drag[-1] and len(json.loads(drag[-1][len("dragThrough:"):])) == 2, "mini player drag-through: %s" % drag[-1]),
        # Hidden from the icon's own menu: the page records it without echoing it back.
        (states[-1].get("menuBarVisible") is False and "menuBar:0" not in messages, "menu bar hide not recorded"),
        # Dust (id 1) is fifth in menu order, so select(1) then cycle(-1) lands on Mesh (id 3).
        ((restored.get("skin"), restored.get("glass"), restored.get("menuBarVisible")) == (3, True, False),
         "settings not restored after reload: %s" % restored),
    ] + [(expected in messages, "missing message " + expected) for expected in [
        "media:next", "media:prev", "glass:1", "micSensitivity:2",
        "audioInput:systemAudio", "media:playpause", "windowMode:mini", "alwaysOnTop:0"]] if not ok]


if __name__ == "__main__":
    messages, report, failures = run_page(sys.argv[1])
    check(messages, report, failures)
    for failure in failures:
        print("FAIL: " + failure)
    if failures:
        print("messages: %s" % messages)
    sys.exit(1 if failures else 0)
