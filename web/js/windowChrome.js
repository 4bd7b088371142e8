"use strict";
// The window the page is shown in (the main window or the mini player, floating or not), as the
// native side reports it, and what the page's window buttons ask of it.
{
    // From __windowChrome: anything but an object changes nothing; members that are not true are false.
    function windowChromeState(payload) {
        if (payload === null || typeof payload !== "object") return null;
        return { mini: payload.mini === true, onTop: payload.onTop === true };
    }

    // The message a window button posts and the state it leads to. The pin asks for the opposite of
    // what the mini player does now; switching windows keeps the pin.
    function windowChromeRequest(chrome, button) {
        switch (button) {
            case "mini":
                return { message: "windowMode:mini", next: { ...chrome, mini: true } };
            case "normal":
                return { message: "windowMode:normal", next: { ...chrome, mini: false } };
            case "pin":
                return {
                    message: "alwaysOnTop:" + (chrome.onTop ? "0" : "1"),
                    next: { ...chrome, onTop: !chrome.onTop },
                };
            default:
                return null;
        }
    }

    Vimbo.define("windowChrome", { windowChromeState, windowChromeRequest });
}
