"use strict";
// Microphone sensitivity on a logarithmic slider: equal steps per doubling, 1.0 in the middle.
{
    const MIN_SENSITIVITY = 0.125;
    const MAX_SENSITIVITY = 8;
    const STEPS_PER_OCTAVE = 100;
    // log2(0.125) = -3 … log2(8) = 3.
    const SLIDER_MAX = 6 * STEPS_PER_OCTAVE;

    function clampSensitivity(value) {
        if (typeof value !== "number" || !Number.isFinite(value)) return 1;
        return Math.min(MAX_SENSITIVITY, Math.max(MIN_SENSITIVITY, value));
    }

    // Three significant digits keep the message short and make both ends and 1.0 exact.
    function sliderToSensitivity(position) {
        const steps = Math.min(SLIDER_MAX, Math.max(0, Math.round(Number(position) || 0)));
        const value = Math.pow(2, steps / STEPS_PER_OCTAVE - 3);
        return clampSensitivity(Number(value.toPrecision(3)));
    }

    function sensitivityToSlider(value) {
        return Math.round((Math.log2(clampSensitivity(value)) + 3) * STEPS_PER_OCTAVE);
    }

    function formatSensitivity(value) {
        const clamped = clampSensitivity(value);
        return "×" + (clamped < 1 ? clamped.toFixed(3) : clamped.toFixed(2));
    }

    function sensitivityMessage(value) {
        return "micSensitivity:" + String(clampSensitivity(value));
    }

    Vimbo.define("sensitivity", {
        MIN_SENSITIVITY,
        MAX_SENSITIVITY,
        SLIDER_MAX,
        clampSensitivity,
        sliderToSensitivity,
        sensitivityToSlider,
        formatSensitivity,
        sensitivityMessage,
    });
}
