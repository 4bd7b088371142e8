"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { skinCatalog, settings } = require("./pageScripts.js")("skinCatalog.js", "settings.js");
const { SKINS, isSkinId, cycleSkin } = skinCatalog;

test("skins follow the menu order and wrap when cycled", () => {
    assert.deepEqual(SKINS.map((skin) => skin.id), [0, 2, 6, 3, 1, 4, 5, 7]);
    assert.equal(cycleSkin(0, -1), 7);
    assert.equal(cycleSkin(3, 9), 1, "steps larger than the list wrap");
    assert.equal(cycleSkin(42, 1), 0, "an unknown skin steps onto the first");
    assert.equal(cycleSkin(6, 0.5), 6, "a fractional step leaves the skin alone");
    assert.ok(!isSkinId(8) && !isSkinId("1") && !isSkinId(1.5) && isSkinId(7));
});

test("stored settings are restored key by key, bad keys falling back to defaults", () => {
    assert.deepEqual(settings.restoreSettings("{not json"), settings.DEFAULT_SETTINGS);
    assert.deepEqual(settings.restoreSettings("[true]"), settings.DEFAULT_SETTINGS);
    const restored = settings.restoreSettings(
        JSON.stringify({ skin: 99, dark: false, glow: "yes", glass: true, keepAwake: 0, extra: 1 })
    );
    assert.deepEqual(restored, { ...settings.DEFAULT_SETTINGS, dark: false, glass: true });
    const saved = { ...settings.DEFAULT_SETTINGS, skin: 5, musicInfo: false };
    assert.deepEqual(settings.restoreSettings(settings.serializeSettings(saved)), saved);
});

test("display changes post the native message of the setting they change, and startup posts all", () => {
    const base = { ...settings.DEFAULT_SETTINGS, dark: true, glass: false };
    assert.deepEqual(settings.toggleDisplay(base, "glow").messages, [], "glow belongs to the page alone");
    assert.equal(settings.toggleDisplay(base, "skin"), null);
    assert.deepEqual(settings.setDisplay(base, "dark", true).messages, [], "no change, nothing to post");
    assert.equal(settings.setDisplay(base, "dark", 1), null);
    assert.equal(base.dark, true, "the original is left untouched");
    const chosen = { ...settings.DEFAULT_SETTINGS, glass: true, keepAwake: false, dark: false };
    assert.deepEqual(settings.startupMessages(chosen),
        ["appearanceDark:0", "glass:1", "keepAwake:0", "musicInfo:1", "menuBar:1"]);
    assert.equal(settings.selectSkin(chosen, 9), null);
});

test("the settings panel names each display setting as the native menu does", () => {
    const read = (path) => require("node:fs").readFileSync(require.resolve("../../../" + path), "utf8");
    const pairs = (text, pattern) => Object.fromEntries([...text.matchAll(pattern)].map((m) => [m[1], m[2]]));
    const menu = pairs(read("src/core/menus/DisplayMenuSetting.cpp"), /\{DisplayMenuSetting::\w+, "(\w+)", "([^"]+)"/g);
    const panel = pairs(read("web/index.html"), /data-setting="(\w+)"> ([^<]+)</g);
    assert.deepEqual(panel, menu);
    assert.equal(Object.keys(menu).length, settings.DISPLAY_SETTINGS.length);
});
