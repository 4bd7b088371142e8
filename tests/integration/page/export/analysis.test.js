"use strict";
// The page's analysis against vimbo-analyze (the native analyzer) on the same generated clips.
const test = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { execFileSync } = require("node:child_process");
const { audioAnalysis } = require("../pageScripts.js")("export/realFft.js", "export/audioAnalysis.js");
const { AudioAnalysis, analysisBands, monoMix, tickCount, tickEnd } = audioAnalysis;

const ANALYZE = process.env.VIMBO_ANALYZE;

function wav(channels, rate) {
    const frames = channels[0].length, width = channels.length * 2;
    const data = Buffer.alloc(frames * width);
    channels.forEach((channel, c) => channel.forEach((x, i) =>
        data.writeInt16LE(Math.max(-32768, Math.min(32767, Math.round(x * 32767))), i * width + c * 2)));
    const header = Buffer.alloc(44);
    [["RIFF", 0], ["WAVEfmt ", 8], ["data", 36]].forEach(([text, at]) => header.write(text, at));
    [[4, 36 + data.length], [16, 16], [24, rate], [28, rate * width], [40, data.length]].forEach(([at, value]) =>
        header.writeUInt32LE(value, at));
    [[20, 1], [22, channels.length], [32, width], [34, 16]].forEach(([at, value]) => header.writeUInt16LE(value, at));
    // What libsndfile reads back: each 16-bit sample divided by 32768.
    const decoded = channels.map((_, c) => Float32Array.from({ length: frames }, (__, i) =>
        data.readInt16LE(i * width + c * 2) / 32768));
    return { bytes: Buffer.concat([header, data]), decoded };
}

let seed = 12345;
const noise = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 1073741824) - 1;
const clip = (seconds, rate, sample) => Float32Array.from({ length: Math.round(seconds * rate) }, (_, i) => sample(i / rate));
// Kicks every 0.45 s with a hi-hat between and a quiet pad underneath.
const beat = (t) => {
    const since = t % 0.45;
    const kick = Math.exp(-since * 18) * Math.sin(2 * Math.PI * (55 + 90 * Math.exp(-since * 30)) * since);
    const hat = (t + 0.225) % 0.45 < 0.03 ? 0.3 * noise() : 0;
    return 0.6 * kick + hat + 0.05 * Math.sin(2 * Math.PI * 330 * t);
};
const CLIPS = {
    "stereo beat at 48 kHz": [48000, [clip(4, 48000, beat), clip(4, 48000, (t) => beat(t + 0.01) * 0.8)]],
    "swept tone at 44.1 kHz": [44100, [clip(2, 44100, (t) => 0.5 * Math.sin(2 * Math.PI * (200 + 900 * t) * t))]],
    "noise bursts after silence": [22050, [clip(3, 22050, (t) => (t > 1 && t % 0.5 < 0.2 ? 0.4 * noise() : 0))]],
};

function nativeLines(file) {
    return execFileSync(ANALYZE, [file], { encoding: "utf8" }).trim().split("\n").map((line) => {
        const values = JSON.parse("[" + line.slice("__a(".length, -1) + "]");
        return [...values.slice(0, 6), ...values[6]];
    });
}

test("the analysis equals vimbo-analyze's on every value of every tick", { skip: !ANALYZE && "VIMBO_ANALYZE not set" }, () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), "vimbo-analysis-"));
    try {
        for (const [name, [rate, channels]] of Object.entries(CLIPS)) {
            const { bytes, decoded } = wav(channels, rate);
            const file = path.join(dir, "clip.wav");
            fs.writeFileSync(file, bytes);
            const expected = nativeLines(file);
            const mono = monoMix(decoded);
            const analysis = new AudioAnalysis(rate);
            assert.equal(tickCount(mono.length, rate), expected.length, name);
            let beats = 0;
            expected.forEach((row, index) => {
                const tick = index + 1;
                const f = analysis.analyze(mono, tickEnd(tick, rate), tick / 60);
                const values = [f.level, f.bass, f.mid, f.treble, f.energy, f.beat, ...f.spectrum];
                // Printed with three decimals (the beat with two): the rounding plus 0.001.
                values.forEach((value, i) => assert.ok(Math.abs(value - row[i]) <= (i === 5 ? 0.006 : 0.0015),
                    `${name}, tick ${tick}, value ${i}: ${value} against ${row[i]}`));
                if (f.beat > 0) beats++;
            });
            if (name.includes("beat")) assert.ok(beats >= 5, name + " found " + beats + " beats");
        }
    } finally {
        fs.rmSync(dir, { recursive: true, force: true });
    }
});

test("bin ranges at 48 kHz and 44.1 kHz are the analysis's worked ones", () => {
    const span = (r) => (r.first >= r.last ? "none" : r.first + "-" + r.last);
    const at48 = analysisBands(48000);
    assert.deepEqual([at48.bass, at48.mid, at48.treble].map(span), ["1-10", "10-85", "85-384"]);
    assert.equal(at48.fluxTop, 341);
    assert.equal(at48.spectrum.map(span).join(" "), "1-2 2-3 none 3-4 4-5 5-7 7-9 9-11 11-14 14-18 18-22 " +
        "22-28 28-35 35-44 44-56 56-70 70-88 88-110 110-138 138-173 173-217 217-271 271-340 340-426");
    const at44 = analysisBands(44100);
    assert.deepEqual([at44.bass, at44.mid, at44.treble, at44.spectrum[0]].map(span), ["1-11", "11-92", "92-417", "none"]);
    assert.equal(at44.fluxTop, 371);
});
