"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const scripts = require("./pageScripts.js")("audioFrame.js", "pageSleep.js");
const { BAND_COUNT, AudioFrame, SmoothedAudio } = scripts.audioFrame;
const { SLEEP_AFTER_SECONDS, PageSleep } = scripts.pageSleep;

test("a frame clamps every value to 0…1 and always holds 24 bands", () => {
    const frame = new AudioFrame();
    frame.set(0.5, NaN, 2, -1, "0.7", 1, [0.25, Infinity, -3]);
    assert.deepEqual([frame.level, frame.bass, frame.mid, frame.treble, frame.energy, frame.beat], [0.5, 0, 1, 0, 0, 1]);
    assert.deepEqual(Array.from(frame.spectrum.slice(0, 4)), [0.25, 1, 0, 0]);
    frame.set(0, 0, 0, 0, 0, 0, new Array(40).fill(0.5));
    assert.equal(frame.spectrum[BAND_COUNT - 1], 0.5);
});

test("smoothing rises fast, falls slowly, takes each beat once and ignores bad frame times", () => {
    const frame = new AudioFrame();
    const audio = new SmoothedAudio();
    frame.set(1, 1, 1, 1, 1, 0.8, new Array(24).fill(1));
    audio.follow(frame, 0.1);
    assert.ok(audio.level > 0.9, "reaches a loud level within 0.1 s");
    assert.equal(audio.beat, 0.8);
    audio.follow(frame, 0.05);
    assert.ok(audio.beat < 0.8, "the beat rings out while the same frame is drawn again");
    frame.set(0, 0, 0, 0, 0, 0, []);
    audio.follow(frame, 0.05);
    assert.ok(audio.level > 0.6, "falls slower than it rises");
    for (let i = 0; i < 100; i++) audio.follow(frame, 1 / 60);
    assert.ok(audio.level < 0.01 && audio.spectrum[5] < 0.01);
    const motion = audio.motion;
    audio.follow(frame, -5);
    assert.equal(audio.motion, motion, "a negative frame time runs nothing backwards");
    audio.follow(frame, 30);
    assert.ok(audio.motion > motion && audio.motion - motion < 0.1, "a long frame time cannot jump");
});

test("the page sleeps after three quiet seconds once the drawing has settled, and sound wakes it", () => {
    const frame = new AudioFrame();
    const audio = new SmoothedAudio();
    const sleep = new PageSleep();
    const step = 1 / 60;
    const run = (seconds) => {
        let stopped = false;
        for (let t = 0; t < seconds - 1e-9; t += step) {
            audio.follow(frame, step);
            stopped = sleep.mayStop(frame, audio, step);
        }
        return stopped;
    };
    frame.set(1, 1, 1, 1, 1, 1, new Array(24).fill(1));
    assert.equal(run(1), false);
    assert.equal(sleep.wakes(frame), true);
    // Energy fades for many seconds after the sound stops; it does not keep the page awake.
    frame.set(0, 0, 0, 0, 0.06, 0, new Array(24).fill(0));
    assert.equal(sleep.wakes(frame), false);
    assert.equal(run(SLEEP_AFTER_SECONDS - 0.1), false);
    assert.equal(run(0.2), true);
    // One quiet band's worth of sound is sound: it resets the quiet time.
    const band = new Array(24).fill(0);
    band[23] = 0.001;
    frame.set(0, 0, 0, 0, 0, 0, band);
    assert.equal(sleep.wakes(frame), true);
    assert.equal(run(step), false);
    frame.set(0, 0, 0, 0, 0, 0, []);
    assert.equal(run(SLEEP_AFTER_SECONDS - 0.1), false);
    // A bad frame time does not take quiet time back.
    sleep.mayStop(frame, audio, -10);
    assert.equal(run(0.2), true);
});

test("a page does not sleep on a quiet line while the drawing still rings out", () => {
    const frame = new AudioFrame();
    const audio = new SmoothedAudio();
    const sleep = new PageSleep();
    frame.set(1, 1, 1, 1, 1, 1, new Array(24).fill(1));
    audio.follow(frame, 0.1);
    frame.set(0, 0, 0, 0, 0, 0, []);
    assert.equal(sleep.mayStop(frame, audio, SLEEP_AFTER_SECONDS), false);
});
