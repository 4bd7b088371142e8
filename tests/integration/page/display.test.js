"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const page = require("./pageScripts.js")("statusText.js", "trackInfo.js", "shortcutSheet.js");
const { captureStatusText } = page.statusText;
const { trackInfo, trackLine } = page.trackInfo;
const { shortcutSheetModel } = page.shortcutSheet;

test("capture statuses read as sentences, problems and unknown ones as shortened warnings", () => {
    assert.deepEqual(captureStatusText("ok", "systemAudio"), { text: "Listening to system audio", tone: "quiet" });
    assert.equal(captureStatusText("microphone-unavailable").tone, "warning");
    assert.equal(captureStatusText(null).text, "");
    const unknown = captureStatusText("x".repeat(100));
    assert.ok(unknown.tone === "warning" && unknown.text.length < 100);
});

test("track info needs a title and tolerates missing or mistyped members", () => {
    assert.equal(trackInfo(null), null);
    assert.equal(trackInfo({ t: "", a: "Band" }), null);
    const browser = trackInfo({ p: "yes", t: " Video ", a: 7, c: 1 });
    assert.deepEqual(browser, { title: "Video", artist: "", playing: false, controllable: false });
    assert.equal(trackLine(browser), "Video");
});

test("a malformed shortcut catalog loses only its malformed parts", () => {
    assert.deepEqual(shortcutSheetModel({ title: "Skins" }), { sections: [], rowCount: 0 });
    const model = shortcutSheetModel([
        null,
        { title: 5, rows: [{ title: "x", keys: ["a"] }] },
        { title: "Empty", rows: "none" },
        { title: "Help", rows: [{ title: "Keyboard Shortcuts", keys: ["Ctrl+/", 3, ""] }, { keys: ["b"] }] },
    ]);
    assert.deepEqual(model, { sections: [{ title: "Help", rows: [{ title: "Keyboard Shortcuts", keys: ["Ctrl+/"] }] }], rowCount: 1 });
});
