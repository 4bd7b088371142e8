"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { MENU_STATE_KEYS, menuStateJson, menuStateMessage } = require("../../../web/js/menuState.js");

// The native side's reading of the message: strict, no defaults, no partial state.
function decodeStrictly(body) {
    if (!body.startsWith("menuState:")) return null;
    const object = JSON.parse(decodeURIComponent(body.slice("menuState:".length)));
    for (const key of MENU_STATE_KEYS) {
        const ok = key === "skin" ? Number.isInteger(object[key]) : typeof object[key] === "boolean";
        if (!ok) return null;
    }
    return object;
}

const full = {
    skin: 3,
    dark: true,
    glow: false,
    glass: true,
    keepAwake: false,
    musicInfo: true,
    menuBarVisible: true,
    musicControl: false,
    exportMode: false,
};

test("the message carries all nine keys in order, percent-encoded, and decodes back to the same state", () => {
    const message = menuStateMessage(full);
    assert.match(message, /^menuState:%7B%22skin%22%3A3%2C/);
    assert.doesNotMatch(message.slice("menuState:".length), /[{}":,]/, "characters that would break the message");
    assert.deepEqual(Object.keys(JSON.parse(menuStateJson(full))), MENU_STATE_KEYS);
    assert.deepEqual(decodeStrictly(message), full);
});

test("loose values are written as the types the native side requires", () => {
    const decoded = decodeStrictly(menuStateMessage({ skin: "3", dark: 1, glow: "true", extra: true }));
    assert.notEqual(decoded, null);
    assert.equal(decoded.skin, 0);
    for (const key of MENU_STATE_KEYS.slice(1)) assert.equal(decoded[key], false, key);
    assert.equal("extra" in decoded, false);
});
