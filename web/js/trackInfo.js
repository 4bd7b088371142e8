"use strict";
// The now-playing payload of "__music(": null, or an object with "p", "t", "a" and "c".
{
    function trackInfo(payload) {
        if (payload === null || typeof payload !== "object" || Array.isArray(payload)) return null;
        const title = typeof payload.t === "string" ? payload.t.trim() : "";
        if (title.length === 0) return null;
        return {
            title,
            artist: typeof payload.a === "string" ? payload.a.trim() : "",
            playing: payload.p === true,
            controllable: payload.c === true,
        };
    }

    function trackLine(info) {
        if (info === null) return "";
        return info.artist.length > 0 ? info.title + " — " + info.artist : info.title;
    }

    Vimbo.define("trackInfo", { trackInfo, trackLine });
}
