"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const sensitivity = require("../../../web/js/sensitivity.js");
const { dragThroughRects, dragThroughMessage } = require("../../../web/js/dragRects.js");

test("the sensitivity slider is logarithmic with exact ends and 1.0 in the middle", () => {
    assert.equal(sensitivity.sliderToSensitivity(0), 0.125);
    assert.equal(sensitivity.sliderToSensitivity(sensitivity.SLIDER_MAX / 2), 1);
    assert.equal(sensitivity.sliderToSensitivity(sensitivity.SLIDER_MAX), 8);
    assert.equal(sensitivity.sliderToSensitivity(sensitivity.SLIDER_MAX / 2 + 100), 2, "one octave per 100 steps");
    assert.equal(sensitivity.sliderToSensitivity(-50), 0.125);
    assert.equal(sensitivity.sliderToSensitivity("abc"), 0.125);
    for (const value of [0.125, 0.5, 1, 2, 8]) {
        assert.equal(sensitivity.sliderToSensitivity(sensitivity.sensitivityToSlider(value)), value);
    }
    assert.equal(sensitivity.sensitivityToSlider(20), sensitivity.SLIDER_MAX);
    assert.equal(sensitivity.sensitivityToSlider(NaN), sensitivity.SLIDER_MAX / 2);
});

test("sensitivity messages and labels carry clamped values", () => {
    assert.equal(sensitivity.sensitivityMessage(1), "micSensitivity:1");
    assert.equal(sensitivity.sensitivityMessage(0.125), "micSensitivity:0.125");
    assert.equal(sensitivity.sensitivityMessage(20), "micSensitivity:8");
    assert.equal(sensitivity.sensitivityMessage(Infinity), "micSensitivity:1");
    assert.equal(sensitivity.formatSensitivity(8), "×8.00");
    assert.equal(sensitivity.formatSensitivity(0.125), "×0.125");
});

test("drag-through keeps only the parts of controls inside the strip, rounded outwards", () => {
    const rects = dragThroughRects([
        { left: 988.4, top: 6, width: 26, height: 26 },
        { left: 10, top: 20, width: 50.2, height: 40 },
        { left: 10, top: 36, width: 50, height: 20 },
        { left: 10, top: -30, width: 50, height: 20 },
        { left: 10, top: 0, width: 0, height: 20 },
        { left: NaN, top: 0, width: 10, height: 20 },
        null,
    ]);
    assert.deepEqual(rects, [
        [988, 6, 27, 26],
        [10, 20, 51, 16],
    ]);
    assert.equal(dragThroughMessage(rects), "dragThrough:[[988,6,27,26],[10,20,51,16]]");
    assert.equal(dragThroughMessage(dragThroughRects([])), "dragThrough:[]");
});
