"use strict";
// The export's sound read block by block: the tracks in order, each fetched only when reached, and
// the same features for every video frame whatever the block size.
const test = require("node:test");
const assert = require("node:assert/strict");
const { SoundStream, FrameFeatures } = require("./pageScripts.js")(
    "export/realFft.js", "export/audioAnalysis.js", "export/soundStream.js", "export/frameFeatures.js");

test("the stream reads the tracks in order without spanning two and fetches each only when reached", async () => {
    const loads = [];
    // Track t holds t·100 + its sample index on the left, its negation on the right.
    const tracks = [5, 0, 3].map((frames, t) => ({ frames, load: async () => {
        loads.push(t);
        const samples = Float32Array.from({ length: frames }, (_, i) => t * 100 + i);
        return [samples, samples.map((x) => -x)];
    } }));
    const stream = new SoundStream(tracks);
    assert.equal(stream.frames, 8);
    const blocks = [];
    const fetched = []; // tracks fetched when each block came
    for (let block; (block = await stream.read(2)) !== null; fetched.push(loads.length)) {
        blocks.push([...block.channels[0]]);
        assert.deepEqual([...block.channels[1]], blocks.at(-1).map((x) => -x));
    }
    assert.deepEqual(blocks, [[0, 1], [2, 3], [4], [200, 201], [202]]);
    assert.deepEqual([fetched, loads], [[1, 1, 1, 3, 3], [0, 1, 2]]);
});

// Kicks every 0.45 s over a tone on the left, silence on the right, for `seconds` at 48 kHz.
function beatClip(seconds) {
    const left = Float32Array.from({ length: seconds * 48000 }, (_, i) => {
        const since = (i / 48000) % 0.45;
        return 0.6 * Math.exp(-since * 18) * Math.sin(2 * Math.PI * 60 * since) + 0.05 * Math.sin(i / 20);
    });
    return [left, new Float32Array(left.length)];
}

// Every video frame's features when the sound arrives in blocks of `size`, each frame taken as
// soon as the sound read covers it, as the export does.
function framesInBlocks(channels, size, fps) {
    const features = new FrameFeatures(48000);
    const frames = [];
    for (let start = 0; start < channels[0].length; start += size) {
        features.append(channels.map((channel) => channel.subarray(start, start + size)));
        while (frames.length < 3 * fps && features.covers(frames.length, fps)) frames.push(features.at(frames.length, fps));
    }
    return frames;
}

test("the features of every video frame do not depend on how the sound is cut into blocks", () => {
    const clip = beatClip(3);
    for (const fps of [30, 60]) {
        const whole = framesInBlocks(clip, clip[0].length, fps);
        assert.equal(whole.length, 3 * fps);
        assert.ok(whole.some((frame) => frame.beat > 0) && whole.at(-1).level > 0, "the clip moves the analysis");
        for (const size of [48000, 777]) assert.deepEqual(framesInBlocks(clip, size, fps), whole, `${size} at ${fps} fps`);
    }
});
