"use strict";
// The page's full settings as the "menuState:" message the native menus mirror.
{
    const MENU_STATE_KEYS = Object.freeze([
        "skin",
        "dark",
        "glow",
        "glass",
        "keepAwake",
        "musicInfo",
        "menuBarVisible",
        "musicControl",
        "exportMode",
    ]);

    // The native side rejects the whole state on one wrong type, so every key is written and
    // every flag is a real boolean whatever the caller holds.
    function menuStateJson(state) {
        const object = {};
        for (const key of MENU_STATE_KEYS) {
            if (key === "skin") {
                object.skin = Number.isInteger(state.skin) ? state.skin : 0;
            } else {
                object[key] = state[key] === true;
            }
        }
        return JSON.stringify(object);
    }

    function menuStateMessage(state) {
        return "menuState:" + encodeURIComponent(menuStateJson(state));
    }

    Vimbo.define("menuState", { MENU_STATE_KEYS, menuStateJson, menuStateMessage });
}
