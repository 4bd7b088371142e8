"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const { exportPlan, exportSession } = require("./pageScripts.js")("export/exportPlan.js", "export/exportSession.js");
const { estimateBytes, chunkMessages, saveMessage, timeLeft, formatDuration, formatBytes } = exportPlan;

// Rebuilds a file from "export:write:" messages as the native side does: each chunk at its offset.
function assemble(messages) {
    const file = [];
    const sizes = [];
    for (const message of messages) {
        const [, offset, data] = message.match(/^export:write:(\d+):(.*)$/s) || assert.fail(message);
        const bytes = Buffer.from(data, "base64");
        assert.equal(bytes.toString("base64"), data, "standard padded base64");
        bytes.forEach((byte, i) => (file[Number(offset) + i] = byte));
        sizes.push(bytes.length);
    }
    return { file: Buffer.from(file), sizes };
}

test("chunks cover every written byte once at its offset and stay within the bound", () => {
    const data = Uint8Array.from({ length: 10000 }, (_, i) => (i * 7) % 251);
    for (const [position, bound] of [[0, 4096], [123, 1000], [5, 10000], [0, 3]]) {
        const messages = chunkMessages(data.subarray(position), position, bound);
        const { file, sizes } = assemble(messages);
        assert.ok(sizes.every((size) => size > 0 && size <= bound), `sizes ${sizes} within ${bound}`);
        assert.equal(sizes.reduce((a, b) => a + b, 0), data.length - position);
        assert.deepEqual(file.subarray(position), Buffer.from(data.subarray(position)));
    }
    assert.deepEqual(chunkMessages(new Uint8Array(0), 42), []);
    assert.equal(chunkMessages(new Uint8Array(4 * 1024 * 1024 + 1), 7).length, 2, "4 MiB a chunk by default");
    // The muxer's last write patches bytes it wrote earlier; the later chunk wins.
    const { file } = assemble([...chunkMessages(Uint8Array.of(1, 2, 3, 4), 0), ...chunkMessages(Uint8Array.of(9), 2)]);
    assert.deepEqual([...file], [1, 2, 9, 4]);
});

test("the estimate is the bit rates over the duration plus the container's share", () => {
    // 720p30: 1280·720·30·0.3 bit/s of video, 128 kbit/s of audio, for 60 s.
    assert.equal(estimateBytes(60, 1280, 720, 30), Math.ceil(((60 * (8294400 + 128000)) / 8) * 1.15) + 65536);
    // Small frames get the encoder's floor of 2.5 Mbit/s.
    assert.equal(estimateBytes(4, 640, 360, 30), Math.ceil(((4 * (2500000 + 128000)) / 8) * 1.15) + 65536);
    assert.equal(estimateBytes(0, 1280, 720, 30), 0, "no audio, no estimate: the native side skips its check");
    // WebKitGTK's encoder makes two thirds of the frame rate times what it is asked for.
    assert.deepEqual([[8294400, 30], [37324800, 60], [2500000, 24]].map(([rate, fps]) => exportPlan.encoderBitrate(rate, fps)),
        [414720, 933120, 156250]);
    assert.equal(saveMessage(1048576, "My Video.mp4"), "export:save:1048576:My%20Video.mp4");
    assert.equal(formatBytes(999), "999 bytes");
    assert.equal(formatBytes(4567000), "4.6 MB");
});

test("time left follows the pace so far and is unknown at the start", () => {
    assert.equal(timeLeft(30, 0.25), 90);
    assert.equal(timeLeft(0, 0.5), null);
    assert.equal(timeLeft(5, 0.005), null);
    assert.equal(timeLeft(40, 1), 0);
    assert.deepEqual([75, 3725, 0.4, 59.6].map(formatDuration), ["1:15", "1:02:05", "0:00", "1:00"]);
});

const JOB = { width: 640, height: 360, fps: 30, name: "Clip.mp4", seconds: 2 };

// A session whose encoder writes two pieces (the second patching the first) unless told to fail,
// and that answers each native question from `answers`.
async function session({ answers, during = () => {}, failWith = null }) {
    const posted = [];
    let current = null;
    const post = (text) => {
        posted.push(text.startsWith("export:write:") ? "write" : text);
        const answer = answers[text.split(":").slice(0, 2).join(":")];
        if (answer) queueMicrotask(() => current.deliver(answer[0], answer[1]));
    };
    current = new exportSession.ExportSession(post, async (job, { write, stop }) => {
        write(new Uint8Array(10), 0);
        during(current);
        await new Promise((resolve) => setTimeout(resolve, 1));
        stop.check();
        if (failWith) throw failWith;
        write(new Uint8Array(2), 4);
    });
    return { result: await current.run(JOB, () => {}), posted };
}

const GIVEN = { "export:save": ["destination", { ok: true, message: "" }] };
const SAVED = { ...GIVEN, "export:finish": ["saved", { ok: true }] };

test("an export asks for a destination, begins, streams, finishes and waits for the verdict", async () => {
    const saved = await session({ answers: SAVED });
    assert.equal(saved.posted[0], saveMessage(estimateBytes(2, 640, 360, 30), "Clip.mp4"));
    assert.deepEqual(saved.posted.slice(1), ["export:begin", "write", "write", "export:finish"]);
    assert.deepEqual(saved.result, { outcome: "saved", message: "" });

    for (const [message, outcome] of [["Not enough storage.", "failed"], ["", "cancelled"]]) {
        const refused = await session({ answers: { "export:save": ["destination", { ok: false, message }] } });
        assert.deepEqual([refused.posted.slice(1), refused.result], [[], { outcome, message }], "nothing begins");
    }
    const unsaved = await session({ answers: { ...GIVEN, "export:finish": ["saved", { ok: false }] } });
    assert.equal(unsaved.result.outcome, "failed");
});

test("cancel, a failed write and an encoder error each stop the export and release the partial file", async () => {
    const cancelled = await session({ answers: GIVEN, during: (s) => s.cancel() });
    assert.deepEqual(cancelled.posted.slice(1), ["export:begin", "write", "export:cancel"]);
    assert.equal(cancelled.result.outcome, "cancelled");

    const failed = await session({ answers: GIVEN, during: (s) => s.writeFailed("Video writing failed.") });
    assert.deepEqual(failed.posted.slice(1), ["export:begin", "write", "export:cancel"]);
    assert.deepEqual(failed.result, { outcome: "failed", message: "Video writing failed." });

    const broken = await session({ answers: GIVEN, failWith: new Error("encoder: 50% gone") });
    assert.deepEqual(broken.posted.slice(1), ["export:begin", "write", "export:error:encoder%3A%2050%25%20gone", "export:cancel"]);
    assert.equal(broken.result.outcome, "failed");
});

test("the smoke test takes a bounded length and an even size from the query", () => {
    const settings = (text) => exportPlan.smokeTestSettings(new URLSearchParams(text));
    assert.deepEqual(settings("export-smoke-test"), { seconds: 4, width: 640, height: 360, fps: 30 });
    assert.deepEqual([settings("seconds=3600&size=3840x2160"), settings("seconds=1&size=128x72")],
        [{ seconds: 3600, width: 3840, height: 2160, fps: 30 }, { seconds: 1, width: 128, height: 72, fps: 30 }]);
    for (const bad of ["seconds=0", "seconds=3601", "seconds=1.5", "size=1280x721", "size=126x72", "size=128x70",
        "size=3842x2160", "size=3840x2162", "size=1280", "size=1280x720x2"]) assert.equal(settings(bad), null, bad);
});
