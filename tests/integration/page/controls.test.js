"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const page = require("./pageScripts.js")("sensitivity.js", "dragRects.js", "windowChrome.js");
const { sensitivity } = page;
const { dragThroughRects, dragThroughMessage } = page.dragRects;
const { windowChromeState, windowChromeRequest } = page.windowChrome;

test("the sensitivity slider is logarithmic with exact ends and clamped messages", () => {
    const { sliderToSensitivity, sensitivityToSlider, SLIDER_MAX } = sensitivity;
    assert.equal(sliderToSensitivity(0), 0.125);
    assert.equal(sliderToSensitivity(SLIDER_MAX), 8);
    assert.equal(sliderToSensitivity("abc"), 0.125);
    for (const value of [0.125, 0.5, 8]) assert.equal(sliderToSensitivity(sensitivityToSlider(value)), value);
    assert.equal(sensitivityToSlider(20), SLIDER_MAX);
    assert.equal(sensitivityToSlider(NaN), SLIDER_MAX / 2);
    assert.equal(sensitivity.sensitivityMessage(20), "micSensitivity:8");
    assert.equal(sensitivity.sensitivityMessage(Infinity), "micSensitivity:1");
});

test("drag-through keeps only the parts of controls inside the strip, rounded outwards", () => {
    const rects = dragThroughRects([
        { left: 988.4, top: 6, width: 26, height: 26 },
        { left: 10, top: 20, width: 50.2, height: 40 },
        { left: 10, top: -30, width: 50, height: 20 },
        { left: 10, top: 0, width: 0, height: 20 },
        { left: NaN, top: 0, width: 10, height: 20 },
        null,
    ]);
    assert.equal(dragThroughMessage(rects), "dragThrough:[[988,6,27,26],[10,20,51,16]]");
});

test("window buttons switch windows keeping the pin, and the pin asks for the opposite state", () => {
    const floatingMini = windowChromeState({ mini: true, onTop: true });
    const back = windowChromeRequest(floatingMini, "normal");
    assert.deepEqual([back.message, back.next], ["windowMode:normal", { mini: false, onTop: true }]);
    const unpin = windowChromeRequest(floatingMini, "pin");
    assert.deepEqual([unpin.message, unpin.next], ["alwaysOnTop:0", { mini: true, onTop: false }]);
    assert.equal(windowChromeRequest({ mini: false, onTop: false }, "pin").message, "alwaysOnTop:1");
    assert.deepEqual(windowChromeState({ mini: 1, onTop: "true" }), { mini: false, onTop: false });
    assert.equal(windowChromeState("mini"), null);
});
