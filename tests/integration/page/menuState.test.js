"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { MENU_STATE_KEYS, menuStateMessage } = require("../../../web/js/menuState.js");

// The native side's reading of the message: strict, no defaults, no partial state.
function decodeStrictly(body) {
    const object = JSON.parse(decodeURIComponent(body.slice("menuState:".length)));
    const ok = (key) => (key === "skin" ? Number.isInteger(object[key]) : typeof object[key] === "boolean");
    return body.startsWith("menuState:") && MENU_STATE_KEYS.every(ok) ? object : null;
}

test("the message carries all nine keys in order, percent-encoded, and decodes back to the same state", () => {
    const full = { skin: 3, dark: true, glow: false, glass: true, keepAwake: false, musicInfo: true,
        menuBarVisible: true, musicControl: false, exportMode: false };
    const message = menuStateMessage(full);
    assert.match(message, /^menuState:%7B%22skin%22%3A3%2C/);
    assert.doesNotMatch(message.slice("menuState:".length), /[{}":,]/, "characters that would break the message");
    assert.deepEqual(Object.keys(decodeStrictly(message)), MENU_STATE_KEYS);
    assert.deepEqual(decodeStrictly(message), full);
});

test("loose values are written as the types the native side requires", () => {
    const decoded = decodeStrictly(menuStateMessage({ skin: "3", dark: 1, glow: "true", extra: true }));
    assert.deepEqual(decoded, Object.fromEntries(MENU_STATE_KEYS.map((key) => [key, key === "skin" ? 0 : false])));
});
