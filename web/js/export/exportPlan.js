"use strict";
// What an export is made of before any pixel is drawn: sizes, rates, bit rates and the estimate the
// native side checks against free space, and the messages that carry the file to it. Pure.
{
    const SIZES = Object.freeze({
        "720p": Object.freeze({ width: 1280, height: 720 }),
        "1080p": Object.freeze({ width: 1920, height: 1080 }),
    });
    const FRAME_RATES = Object.freeze([30, 60]);
    // The video's bit rate, which the estimate the free-space check uses follows.
    const BITS_PER_PIXEL = 0.3;
    const MIN_VIDEO_BITRATE = 2500000;
    const AUDIO_BITRATE = 128000;
    // WebKitGTK 2.50's H.264 encoder makes about two thirds of the frame rate times the bit rate it
    // is asked for (within 5 % from 360p to 1080p at 24, 30 and 60 fps; its bit rate mode and
    // latency mode change nothing), so it is asked for that much less.
    const ENCODER_RATE_GAIN = 2 / 3;
    // The container's tables and the encoder's overshoot of its target rate.
    const OVERHEAD_FACTOR = 1.15;
    const OVERHEAD_BYTES = 65536;
    // Chunks are base64 in one page message each; a few MiB keep each message quick.
    const CHUNK_BYTES = 4 * 1024 * 1024;

    function videoBitrate(width, height, fps) {
        return Math.max(MIN_VIDEO_BITRATE, Math.round(width * height * fps * BITS_PER_PIXEL));
    }

    // What to ask of the encoder for `bitrate`.
    function encoderBitrate(bitrate, fps) {
        return Math.round(bitrate / (fps * ENCODER_RATE_GAIN));
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
        encoderBitrate,
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
