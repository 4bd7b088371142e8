"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { captureStatusText } = require("../../../web/js/statusText.js");
const { trackInfo, trackLine } = require("../../../web/js/trackInfo.js");
const { shortcutSheetModel } = require("../../../web/js/shortcutSheet.js");

test("capture statuses read as sentences, problems as warnings", () => {
    assert.deepEqual(captureStatusText("ok", "systemAudio"), { text: "Listening to system audio", tone: "quiet" });
    assert.equal(captureStatusText("ok", "microphone").text, "Listening to the microphone");
    assert.equal(
        captureStatusText("waiting-system-permission", "systemAudio").text,
        "System audio could not be captured yet — waiting for a sound server…"
    );
    assert.equal(captureStatusText("microphone-unavailable").text, "No microphone is available");
    for (const status of ["waiting-system-permission", "waiting-microphone-permission", "microphone-unavailable"]) {
        assert.equal(captureStatusText(status).tone, "warning", status);
    }
    assert.equal(captureStatusText(null).text, "");
    const unknown = captureStatusText("x".repeat(100));
    assert.equal(unknown.tone, "warning");
    assert.ok(unknown.text.length < 100, "unknown statuses are shortened");
});

test("track info needs a title and tolerates missing or mistyped members", () => {
    assert.deepEqual(trackInfo({ p: true, t: " Song ", a: "Band", c: true }), {
        title: "Song",
        artist: "Band",
        playing: true,
        controllable: true,
    });
    assert.equal(trackInfo(null), null);
    assert.equal(trackInfo({ t: "", a: "Band" }), null);
    assert.equal(trackInfo("Song"), null);
    assert.equal(trackInfo([{ t: "Song" }]), null);
    const browser = trackInfo({ p: "yes", t: "Video", a: 7, c: 1 });
    assert.deepEqual(browser, { title: "Video", artist: "", playing: false, controllable: false });
    assert.equal(trackLine(browser), "Video");
    assert.equal(trackLine(trackInfo({ t: "Song", a: "Band" })), "Song — Band");
});

test("the shortcut sheet lists every section and row with its labels as given", () => {
    const catalog = [
        { title: "Skins", rows: [{ title: "Glossy", keys: ["Ctrl+1"] }] },
        { title: "Playback", rows: [{ title: "Play / Pause", keys: ["Space", "Ctrl+P"] }] },
        { title: "Window", rows: [{ title: "Close Dialog", keys: ["Esc"] }, { title: "Full Screen", keys: ["Ctrl+F", "F"] }] },
    ];
    const model = shortcutSheetModel(catalog);
    assert.equal(model.rowCount, 4);
    assert.deepEqual(model.sections, catalog);
});

test("a malformed catalog loses only its malformed parts", () => {
    assert.deepEqual(shortcutSheetModel([]), { sections: [], rowCount: 0 });
    assert.deepEqual(shortcutSheetModel({ title: "Skins" }), { sections: [], rowCount: 0 });
    const model = shortcutSheetModel([
        null,
        { title: 5, rows: [{ title: "x", keys: ["a"] }] },
        { title: "Empty", rows: "none" },
        { title: "Help", rows: [{ title: "Keyboard Shortcuts", keys: ["Ctrl+/", 3, ""] }, { keys: ["b"] }] },
    ]);
    assert.deepEqual(model.sections, [{ title: "Help", rows: [{ title: "Keyboard Shortcuts", keys: ["Ctrl+/"] }] }]);
});
