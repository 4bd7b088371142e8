"use strict";
// What an export is made of before any pixel is drawn: sizes, rates, bit rates and the estimate the
// native side checks against free space, and the messages that carry the file to it. Pure.
{
    const SIZES = Object.freeze({
        "720p": Object.freeze({ width: 1280, height: 720 }),
        "1080p": Object.freeze({ width: 1920, height: 1080 }),
    });
    const FRAME_RATES = Object.freeze([30, 60]);
    // The rate asked of the H.264 encoder and assumed by the estimate. WebKitGTK's x264 encoder
    // ignores the requested rate and makes 2.2 Mbit/s at 360p30 and 4.6 to 7.9 at 720p30 depending
    // on the skin, so the estimate the free-space check uses follows what it makes, rounded up.
    const BITS_PER_PIXEL = 0.3;
    const MIN_VIDEO_BITRATE = 2500000;
    const AUDIO_BITRATE = 128000;
    // The container's tables and the encoder's overshoot of its target rate.
    const OVERHEAD_FACTOR = 1.05;
    const OVERHEAD_BYTES = 65536;
    // Chunks are base64 in one page message each; a few MiB keep each message quick.
    const CHUNK_BYTES = 4 * 1024 * 1024;

    function videoBitrate(width, height, fps) {
        return Math.max(MIN_VIDEO_BITRATE, Math.round(width * height * fps * BITS_PER_PIXEL));
    }

    function estimateBytes(seconds, width, height, fps) {
        if (!(seconds > 0)) return 0;
        const bits = seconds * (videoBitrate(width, height, fps) + AUDIO_BITRATE);
        return Math.ceil((bits / 8) * OVERHEAD_FACTOR) + OVERHEAD_BYTES;
    }

    // Sizes as the native side words them: decimal units.
    function formatBytes(bytes) {
        const units = ["bytes", "kB", "MB", "GB", "TB"];
        let value = bytes;
        let unit = 0;
        while (value >= 1000 && unit < units.length - 1) {
            value /= 1000;
            unit++;
        }
        return unit === 0 ? bytes + " bytes" : value.toFixed(1) + " " + units[unit];
    }

    // 75 → "1:15", 3725 → "1:02:05".
    function formatDuration(seconds) {
        const whole = Math.max(0, Math.round(seconds));
        const two = (n) => String(n).padStart(2, "0");
        const h = Math.floor(whole / 3600);
        const m = Math.floor((whole % 3600) / 60);
        return h > 0 ? `${h}:${two(m)}:${two(whole % 60)}` : `${m}:${two(whole % 60)}`;
    }

    // Seconds still to go at the pace so far; unknown (null) until some work is done.
    function timeLeft(elapsedSeconds, fraction) {
        if (!(fraction > 0.01) || !(elapsedSeconds > 0)) return null;
        return (elapsedSeconds * (1 - Math.min(fraction, 1))) / fraction;
    }

    function fileName(trackNames) {
        return (trackNames.length > 0 ? trackNames[0] : "Vimbo") + ".mp4";
    }

    const SMOKE_TEST_LIMITS = Object.freeze({ seconds: [1, 3600], width: [128, 3840], height: [72, 2160] });

    // The smoke test's export from the page's query: "seconds" of the built-in clip (default 4) at
    // "size" ("WIDTHxHEIGHT", even numbers, default 640x360), 30 frames a second; null when a value
    // is malformed or out of bounds.
    function smokeTestSettings(query) {
        const size = /^(\d{1,4})x(\d{1,4})$/.exec(query.get("size") ?? "640x360");
        const seconds = query.get("seconds") ?? "4";
        if (!size || !/^\d{1,4}$/.test(seconds)) return null;
        const settings = { seconds: Number(seconds), width: Number(size[1]), height: Number(size[2]), fps: 30 };
        const fits = Object.entries(SMOKE_TEST_LIMITS).every(([key, [low, high]]) => settings[key] >= low && settings[key] <= high);
        return fits && settings.width % 2 === 0 && settings.height % 2 === 0 ? settings : null;
    }

    function saveMessage(estimatedBytes, name) {
        return "export:save:" + estimatedBytes + ":" + encodeURIComponent(name);
    }

    function base64(bytes) {
        let text = "";
        // String.fromCharCode takes its arguments on the stack: a few KiB at a time.
        for (let i = 0; i < bytes.length; i += 8192) {
            text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
        }
        return btoa(text);
    }

    function bytesOf(base64Text) {
        return Uint8Array.from(atob(base64Text), (c) => c.charCodeAt(0));
    }

    // The "export:write:" messages for `bytes` written at `position`, each at most maxBytes long.
    function chunkMessages(bytes, position, maxBytes = CHUNK_BYTES) {
        const messages = [];
        for (let start = 0; start < bytes.length; start += maxBytes) {
            const piece = bytes.subarray(start, start + maxBytes);
            messages.push("export:write:" + (position + start) + ":" + base64(piece));
        }
        return messages;
    }

    Vimbo.define("exportPlan", {
        SIZES,
        FRAME_RATES,
        AUDIO_BITRATE,
        CHUNK_BYTES,
        videoBitrate,
        estimateBytes,
        formatBytes,
        formatDuration,
        timeLeft,
        fileName,
        smokeTestSettings,
        saveMessage,
        chunkMessages,
        bytesOf,
    });
}
