"use strict";
// The page itself: its state, the global functions the native side calls, and the messages it
// posts back. Loaded last; everything it uses is already on Vimbo.
{
    const { post, isHosted } = Vimbo.bridge;
    const { restoreSettings, serializeSettings, startupMessages, setDisplay, toggleDisplay, selectSkin } =
        Vimbo.settings;
    const { cycleSkin, SKINS } = Vimbo.skinCatalog;
    const { menuStateMessage } = Vimbo.menuState;
    const { clampSensitivity, sensitivityMessage } = Vimbo.sensitivity;
    const { captureStatusText } = Vimbo.statusText;
    const { shortcutSheetModel } = Vimbo.shortcutSheet;
    const { dragThroughRects, dragThroughMessage } = Vimbo.dragRects;
    const { trackInfo, trackLine } = Vimbo.trackInfo;
    const { windowChromeState, windowChromeRequest } = Vimbo.windowChrome;

    const STORAGE_KEY = "vimbo.settings";
    const IDLE_MILLISECONDS = 3000;
    const QUIET_STATUS_MILLISECONDS = 4000;
    const SKIN_TOAST_MILLISECONDS = 1200;
    const MEDIA_COMMANDS = ["playpause", "prev", "next"];
    const query = new URLSearchParams(window.location.search);
    const body = document.body;

    function readStoredSettings() {
        try {
            return window.localStorage.getItem(STORAGE_KEY);
        } catch (error) {
            return null;
        }
    }

    function storeSettings() {
        try {
            window.localStorage.setItem(STORAGE_KEY, serializeSettings(state.settings));
        } catch (error) {
            console.warn("[vimbo] settings not saved", error);
        }
    }

    const frame = new Vimbo.audioFrame.AudioFrame();
    const state = {
        settings: restoreSettings(readStoredSettings()),
        input: "systemAudio",
        status: null,
        sensitivity: 1,
        track: null,
        glassShown: false,
        chrome: { mini: false, onTop: false },
        shortcutsReceived: false,
        idle: false,
    };

    function musicControl() {
        return state.settings.musicInfo && state.track !== null && state.track.controllable;
    }

    function publishMenuState() {
        post(menuStateMessage({ ...state.settings, musicControl: musicControl(), exportMode: exportScreen.isOpen }));
    }

    const renderer = new Vimbo.Renderer(document.getElementById("visuals"), frame, Vimbo.skinCatalog.createSkin);
    const overlay = new Vimbo.ShortcutOverlay(document.getElementById("shortcutSheet"), updateDragThrough);
    const panel = new Vimbo.SettingsPanel(document.getElementById("settingsPanel"), {
        selectInput(input) {
            post("audioInput:" + input);
            // Without a native side nothing will answer; reflect the choice directly.
            if (!isHosted()) window.__audioInput(input);
        },
        setSensitivity(value) {
            post(sensitivityMessage(value));
            if (!isHosted()) window.__micSensitivity(value);
        },
        selectSkin(id) {
            changeSettings(selectSkin(state.settings, id), []);
        },
        setDisplay(name, value) {
            const change = setDisplay(state.settings, name, value);
            if (change) changeSettings(change.settings, change.messages);
        },
        showShortcuts() {
            showShortcuts();
        },
        layoutChanged: updateDragThrough,
    });

    // Names a newly chosen skin for a moment, as the menus name it. The stored skin at page load
    // is not announced: only a change the user made.
    let skinToastTimer = 0;
    function announceSkin(id) {
        const skin = SKINS.find((entry) => entry.id === id);
        if (!skin) return;
        const element = document.getElementById("skinToast");
        element.textContent = skin.name;
        element.classList.add("shown");
        clearTimeout(skinToastTimer);
        skinToastTimer = setTimeout(() => element.classList.remove("shown"), SKIN_TOAST_MILLISECONDS);
    }

    function changeSettings(next, messages) {
        if (next) {
            if (next.skin !== state.settings.skin) announceSkin(next.skin);
            state.settings = next;
            // Polling stops with track info off; a title kept from then would be stale when it returns.
            if (!next.musicInfo) state.track = null;
            storeSettings();
            messages.forEach(post);
            render();
        }
        publishMenuState();
    }

    let quietStatusTimer = 0;
    function renderStatus() {
        const element = document.getElementById("status");
        const { text, tone } = captureStatusText(state.status, state.input);
        element.textContent = text;
        element.className = "status " + tone;
        element.hidden = text.length === 0;
        clearTimeout(quietStatusTimer);
        if (tone === "quiet" && text.length > 0) {
            quietStatusTimer = setTimeout(() => element.classList.add("faded"), QUIET_STATUS_MILLISECONDS);
        }
    }

    function renderTrack() {
        const element = document.getElementById("track");
        const shown = state.settings.musicInfo && state.track !== null;
        element.hidden = !shown;
        if (!shown) return;
        element.querySelector(".track-title").textContent = state.track.title;
        element.querySelector(".track-artist").textContent = state.track.artist;
        element.classList.toggle("paused", !state.track.playing);
        element.classList.toggle("controllable", state.track.controllable);
        element.title = trackLine(state.track);
    }

    function render() {
        const { settings } = state;
        const glass = isHosted() ? state.glassShown : settings.glass;
        // The export screen previews its own skin; the page's comes back when it closes.
        renderer.setSkin(exportScreen.isOpen ? exportScreen.skin : settings.skin);
        renderer.setLook(settings.dark, settings.glow, glass);
        body.classList.toggle("dark", settings.dark);
        body.classList.toggle("light", !settings.dark);
        body.classList.toggle("glass", glass);
        body.classList.toggle("mini", state.chrome.mini);
        document.getElementById("pinButton").setAttribute("aria-pressed", String(state.chrome.onTop));
        panel.render(state);
        renderTrack();
    }

    let lastDragThrough = "";
    function updateDragThrough() {
        const boxes = [];
        for (const element of document.querySelectorAll(".chrome-control")) {
            if (element.getClientRects().length > 0) boxes.push(element.getBoundingClientRect());
        }
        const message = dragThroughMessage(dragThroughRects(boxes));
        if (message !== lastDragThrough) {
            lastDragThrough = message;
            post(message);
        }
    }

    let idleTimer = 0;
    function goIdle() {
        if (panel.isOpen || overlay.isOpen) {
            idleTimer = setTimeout(goIdle, IDLE_MILLISECONDS);
            return;
        }
        state.idle = true;
        body.classList.add("idle");
        post("chromeIdle:1");
    }

    function noteActivity() {
        if (state.idle) {
            state.idle = false;
            body.classList.remove("idle");
            post("chromeIdle:0");
        }
        clearTimeout(idleTimer);
        idleTimer = setTimeout(goIdle, IDLE_MILLISECONDS);
    }

    function isControl(target) {
        return target instanceof Element && target.closest("input, button, select, textarea") !== null;
    }

    const exportScreen = new Vimbo.ExportScreen(document.getElementById("exportScreen"), {
        post,
        previewSkin: () => render(),
        modeChanged() {
            render();
            updateDragThrough();
            publishMenuState();
        },
        look: () => state.settings,
        holdVisuals: (held) => renderer.hold(held),
    });

    // One dialog at a time: the sheet puts the settings away, and the settings the sheet.
    function showShortcuts() {
        panel.close();
        overlay.open();
    }

    // The native menu's accelerator for the settings arrives here as a menu call, so the key and the
    // menu item toggle alike.
    function toggleSettings() {
        if (panel.isOpen) {
            panel.close();
            return;
        }
        overlay.close();
        panel.open();
    }

    function isSettingsKey(event) {
        return (event.ctrlKey || event.metaKey) && !event.altKey && event.key === ",";
    }

    function onKeyDown(event) {
        noteActivity();
        if (event.key === "Escape") {
            overlay.close();
            panel.close();
            // A running export is only stopped by its own Cancel button.
            if (!exportScreen.running) exportScreen.close();
            return;
        }
        // Reached only where no native accelerator took the key first; the mini player has no settings.
        if (isSettingsKey(event)) {
            event.preventDefault();
            if (!state.chrome.mini) window.__menuOpenSettings("normal");
            return;
        }
        if (event.ctrlKey || event.metaKey || event.altKey || isControl(event.target)) return;
        if (event.key === " " && musicControl()) {
            event.preventDefault();
            post("media:playpause");
        } else if (event.key === "f" || event.key === "F") {
            post("toggleFullscreen");
        }
    }

    // ---- Called by the native side ----

    window.__a = function (level, bass, mid, treble, energy, beat, spectrum) {
        frame.set(level, bass, mid, treble, energy, beat, spectrum);
        renderer.heard();
    };

    window.__status = function (status) {
        state.status = typeof status === "string" ? status : null;
        renderStatus();
    };

    window.__audioInput = function (input) {
        if (input !== "systemAudio" && input !== "microphone") return;
        state.input = input;
        render();
        renderStatus();
    };

    window.__micSensitivity = function (value) {
        if (typeof value !== "number" || !Number.isFinite(value)) return;
        state.sensitivity = clampSensitivity(value);
        render();
    };

    window.__music = function (payload) {
        const couldControl = musicControl();
        state.track = trackInfo(payload);
        renderTrack();
        if (musicControl() !== couldControl) publishMenuState();
    };

    window.__shortcuts = function (catalog) {
        overlay.render(shortcutSheetModel(catalog));
        if (!state.shortcutsReceived && query.has("shortcuts-ui-test")) overlay.open();
        state.shortcutsReceived = true;
    };

    window.__glass = function (on) {
        state.glassShown = on === true;
        render();
    };

    window.__windowChrome = function (payload) {
        const chrome = windowChromeState(payload);
        if (chrome === null) return;
        state.chrome = chrome;
        if (state.chrome.mini) {
            panel.close();
            overlay.close();
        }
        render();
        updateDragThrough();
    };

    // The native menu bar icon was hidden from its own menu: the native side already applied it.
    window.__menuBarHidden = function () {
        const change = setDisplay(state.settings, "menuBarVisible", false);
        changeSettings(change.settings, []);
    };

    window.__menuSelectSkin = function (id) {
        changeSettings(selectSkin(state.settings, id), []);
    };

    window.__menuCycleSkin = function (step) {
        changeSettings(selectSkin(state.settings, cycleSkin(state.settings.skin, step)), []);
    };

    window.__menuToggleDisplay = function (name) {
        const change = toggleDisplay(state.settings, name);
        if (change) changeSettings(change.settings, change.messages);
        else publishMenuState();
    };

    window.__menuMediaCommand = function (command) {
        if (MEDIA_COMMANDS.includes(command)) post("media:" + command);
        publishMenuState();
    };

    window.__menuOpenSettings = function () {
        toggleSettings();
        publishMenuState();
    };

    window.__menuShowShortcuts = function () {
        showShortcuts();
        publishMenuState();
    };

    window.__exportAddFile = function (data, name) {
        if (typeof data === "string" && typeof name === "string") exportScreen.addFile(data, name);
    };
    window.__exportSetBackground = function (data, name, type) {
        if ([data, name, type].every((value) => typeof value === "string")) exportScreen.setBackground({ data, name, type });
    };
    window.__exportDestination = function (ok, message) {
        exportScreen.deliver("destination", { ok: ok === true, message: String(message) });
    };
    window.__exportWriteFailed = function (message) {
        exportScreen.writeFailed(String(message));
    };
    window.__exportSaved = function (ok) {
        exportScreen.deliver("saved", { ok: ok === true });
    };

    // The test modes: the smoke test exports a built-in clip through the normal save path (its length
    // and size may be given: "&seconds=60&size=1280x720"); the skin check previews another skin in
    // the export screen and expects the page's own back on close.
    async function runExportTests() {
        if (query.has("export-smoke-test")) {
            const smoke = Vimbo.exportPlan.smokeTestSettings(query);
            if (smoke === null) {
                post("export:error:" + encodeURIComponent("smoke test: seconds or size out of bounds"));
                return;
            }
            exportScreen.open();
            const result = await exportScreen.export(Vimbo.exportSound.testTracks(smoke.seconds), smoke, "Vimbo Smoke Test.mp4");
            if (result.outcome !== "saved") post("export:error:" + encodeURIComponent("smoke test " + result.outcome + ": " + result.message));
            return;
        }
        if (!query.has("export-ui-test")) return;
        exportScreen.open();
        if (!query.has("export-skin-resume-test")) return;
        const other = SKINS.find((skin) => skin.id !== state.settings.skin).id;
        exportScreen.skinButtons.get(other).click();
        const previewed = renderer.skin === renderer.skins.get(other);
        exportScreen.close();
        const resumed = renderer.skin === renderer.skins.get(state.settings.skin);
        exportScreen.open(previewed && resumed ? "" : "The skin shown before the export did not come back.");
        if (!(previewed && resumed)) post("export:error:" + encodeURIComponent("skin not resumed after the export screen"));
    }

    // ---- Start ----

    document.getElementById("openExport").addEventListener("click", () => {
        panel.close();
        exportScreen.open();
    });
    document.getElementById("settingsButton").addEventListener("click", () => window.__menuOpenSettings("normal"));
    document.getElementById("track").addEventListener("click", (event) => {
        const button = event.target instanceof Element ? event.target.closest("[data-media]") : null;
        if (button && musicControl()) post("media:" + button.dataset.media);
    });
    for (const button of document.querySelectorAll("[data-window]")) {
        button.addEventListener("click", () => {
            const request = windowChromeRequest(state.chrome, button.dataset.window);
            post(request.message);
            // Without a native side nothing will answer; show the change directly.
            if (!isHosted()) window.__windowChrome(request.next);
        });
    }
    // A click on the visuals puts the settings away, as Esc does.
    document.getElementById("visuals").addEventListener("click", () => panel.close());
    document.addEventListener("keydown", onKeyDown);
    for (const type of ["mousemove", "mousedown", "wheel"]) {
        document.addEventListener(type, noteActivity, { passive: true });
    }
    window.addEventListener("resize", updateDragThrough);
    window.addEventListener("load", updateDragThrough);

    render();
    renderStatus();
    overlay.render(shortcutSheetModel([]));
    startupMessages(state.settings).forEach(post);
    publishMenuState();
    updateDragThrough();
    renderer.start();
    noteActivity();
    exportScreen.reportCrashedExport();
    runExportTests();
}
