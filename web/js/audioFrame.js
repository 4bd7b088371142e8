"use strict";
// The latest "__a(" values and the smoothed copy the skins draw from. Both keep fixed storage so
// 60 updates and 60 frames a second allocate nothing.
{
    const BAND_COUNT = 24;
    const SCALARS = Object.freeze(["level", "bass", "mid", "treble", "energy"]);
    const ATTACK_SECONDS = 0.03;
    const RELEASE_SECONDS = 0.18;
    const BEAT_DECAY_SECONDS = 0.25;

    // Anything that is not a number in 0…1 (NaN, strings, out of range) is clamped or zeroed so a
    // bad frame cannot poison the drawing.
    function unit(value) {
        return typeof value === "number" && value > 0 ? (value < 1 ? value : 1) : 0;
    }

    class AudioFrame {
        constructor() {
            this.level = 0;
            this.bass = 0;
            this.mid = 0;
            this.treble = 0;
            this.energy = 0;
            this.beat = 0;
            this.spectrum = new Float32Array(BAND_COUNT);
            this.sequence = 0;
        }

        set(level, bass, mid, treble, energy, beat, spectrum) {
            this.level = unit(level);
            this.bass = unit(bass);
            this.mid = unit(mid);
            this.treble = unit(treble);
            this.energy = unit(energy);
            this.beat = unit(beat);
            const given = spectrum !== null && typeof spectrum === "object" ? spectrum.length >>> 0 : 0;
            for (let band = 0; band < BAND_COUNT; band++) {
                this.spectrum[band] = band < given ? unit(spectrum[band]) : 0;
            }
            this.sequence++;
        }
    }

    class SmoothedAudio {
        constructor() {
            this.level = 0;
            this.bass = 0;
            this.mid = 0;
            this.treble = 0;
            this.energy = 0;
            this.beat = 0;
            this.spectrum = new Float32Array(BAND_COUNT);
            // Advances faster with louder sound; skins animate on it so silence is calm, not frozen.
            this.motion = 0;
            this.lastSequence = 0;
        }

        follow(frame, seconds) {
            const dt = Math.min(0.1, Math.max(0, seconds));
            const rise = 1 - Math.exp(-dt / ATTACK_SECONDS);
            const fall = 1 - Math.exp(-dt / RELEASE_SECONDS);
            for (const name of SCALARS) {
                const target = frame[name];
                this[name] += (target - this[name]) * (target > this[name] ? rise : fall);
            }
            for (let band = 0; band < BAND_COUNT; band++) {
                const target = frame.spectrum[band];
                const current = this.spectrum[band];
                this.spectrum[band] = current + (target - current) * (target > current ? rise : fall);
            }
            // A beat is an impulse of one analysis frame: take it once, then let it ring out.
            this.beat *= Math.exp(-dt / BEAT_DECAY_SECONDS);
            if (frame.sequence !== this.lastSequence) {
                this.lastSequence = frame.sequence;
                if (frame.beat > this.beat) this.beat = frame.beat;
            }
            this.motion += dt * (0.35 + 1.6 * this.energy);
        }
    }

    Vimbo.define("audioFrame", { BAND_COUNT, AudioFrame, SmoothedAudio });
}
