"use strict";
// The settings the page owns: restoring them from storage, changing them, and the native messages
// each change implies. Pure: the caller stores, posts and redraws.
{
    const { skinCatalog } = Vimbo;
    const DISPLAY_SETTINGS = Object.freeze(["dark", "glow", "glass", "keepAwake", "musicInfo", "menuBarVisible"]);

    const DEFAULT_SETTINGS = Object.freeze({
        skin: 0,
        dark: true,
        glow: true,
        glass: false,
        keepAwake: true,
        musicInfo: true,
        menuBarVisible: true,
    });

    // Settings the native side applies itself; glow is the page's alone. Dark mode also sets the
    // window's appearance behind the page.
    const NATIVE_MESSAGE_PREFIX = Object.freeze({
        dark: "appearanceDark:",
        glass: "glass:",
        keepAwake: "keepAwake:",
        musicInfo: "musicInfo:",
        menuBarVisible: "menuBar:",
    });

    // Stored text may be missing, corrupt or from an older page: each key that does not check out
    // falls back to its default instead of discarding the rest.
    function restoreSettings(storedText) {
        let stored = null;
        try {
            stored = typeof storedText === "string" ? JSON.parse(storedText) : null;
        } catch (error) {
            stored = null;
        }
        const settings = { ...DEFAULT_SETTINGS };
        if (stored === null || typeof stored !== "object" || Array.isArray(stored)) return settings;
        if (skinCatalog.isSkinId(stored.skin)) settings.skin = stored.skin;
        for (const name of DISPLAY_SETTINGS) {
            if (typeof stored[name] === "boolean") settings[name] = stored[name];
        }
        return settings;
    }

    function serializeSettings(settings) {
        const plain = { skin: settings.skin };
        for (const name of DISPLAY_SETTINGS) plain[name] = settings[name];
        return JSON.stringify(plain);
    }

    function isDisplaySetting(name) {
        return DISPLAY_SETTINGS.includes(name);
    }

    function nativeMessage(name, value) {
        const prefix = NATIVE_MESSAGE_PREFIX[name];
        return prefix ? prefix + (value ? "1" : "0") : null;
    }

    // Sent once at load so the native side starts from the page's stored choices.
    function startupMessages(settings) {
        return DISPLAY_SETTINGS.map((name) => nativeMessage(name, settings[name])).filter(Boolean);
    }

    // Returns { settings, messages } or null when the name is not a display setting.
    function setDisplay(settings, name, value) {
        if (!isDisplaySetting(name) || typeof value !== "boolean") return null;
        const next = { ...settings, [name]: value };
        const message = settings[name] === value ? null : nativeMessage(name, value);
        return { settings: next, messages: message ? [message] : [] };
    }

    function toggleDisplay(settings, name) {
        return isDisplaySetting(name) ? setDisplay(settings, name, !settings[name]) : null;
    }

    function selectSkin(settings, id) {
        return skinCatalog.isSkinId(id) ? { ...settings, skin: id } : null;
    }

    Vimbo.define("settings", {
        DISPLAY_SETTINGS,
        DEFAULT_SETTINGS,
        restoreSettings,
        serializeSettings,
        isDisplaySetting,
        startupMessages,
        setDisplay,
        toggleDisplay,
        selectSkin,
    });
}
