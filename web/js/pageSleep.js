"use strict";
// When the page may stop drawing: a visualizer left open in a quiet room should cost almost
// nothing. The page sleeps once the sound has been quiet for a few seconds and the smoothed values
// the skins draw from have come to rest; the first frame with sound wakes it.
{
    const SLEEP_AFTER_SECONDS = 3;
    // Below what the feature line can show (three decimals), so a quiet line is all zeros.
    const QUIET = 0.0005;
    // Energy is left out: its tracker lets it fade over many seconds after the sound stops, and
    // it alone moves the skins only slowly.
    const SOUND = Object.freeze(["level", "bass", "mid", "treble", "beat"]);

    function isQuiet(values) {
        return SOUND.every((name) => values[name] < QUIET) && values.spectrum.every((band) => band < QUIET);
    }

    class PageSleep {
        constructor() {
            this.quietSeconds = 0;
        }

        // After each drawn frame, with the seconds it covered: whether the page may stop drawing.
        mayStop(frame, audio, seconds) {
            if (!isQuiet(frame)) {
                this.quietSeconds = 0;
                return false;
            }
            this.quietSeconds += Math.max(0, seconds);
            return this.quietSeconds >= SLEEP_AFTER_SECONDS && isQuiet(audio);
        }

        // Whether a frame that just arrived must wake a sleeping page.
        wakes(frame) {
            return !isQuiet(frame);
        }
    }

    Vimbo.define("pageSleep", { SLEEP_AFTER_SECONDS, PageSleep });
}
