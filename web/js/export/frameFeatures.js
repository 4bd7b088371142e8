"use strict";
// The analysis's features for each video frame, from the sound as it is read block by block: each
// video frame sees the 60 Hz ticks up to its time, and only the samples a later tick can still reach
// back into are kept.
{
    const { AudioAnalysis, FRAME, monoMix, tickEnd, TICKS_PER_SECOND } = Vimbo.audioAnalysis;

    const lastTickOf = (index, fps) => Math.floor((index * TICKS_PER_SECOND) / fps);

    class FrameFeatures {
        constructor(sampleRate) {
            this.rate = sampleRate;
            this.analysis = new AudioAnalysis(sampleRate);
            this.tick = 0;
            this.latest = this.analysis.decayEnergy();
            // The mono samples from `base` on (absolute sample frames of the sound).
            this.mono = new Float32Array(0);
            this.base = 0;
        }

        // The next block of the sound, as planar channels.
        append(channels) {
            const keepFrom = Math.max(this.base, tickEnd(this.tick, this.rate) - FRAME);
            const kept = this.mono.subarray(keepFrom - this.base);
            const block = monoMix(channels);
            this.mono = new Float32Array(kept.length + block.length);
            this.mono.set(kept);
            this.mono.set(block, kept.length);
            this.base = keepFrom;
        }

        // Whether the sound appended so far reaches every tick up to video frame `index`.
        covers(index, fps) {
            return tickEnd(lastTickOf(index, fps), this.rate) <= this.base + this.mono.length;
        }

        // Video frame `index` at `fps` frames a second; a beat on a tick that falls between two frames
        // is kept for the next one.
        at(index, fps) {
            let beat = 0;
            while (this.tick < lastTickOf(index, fps)) {
                this.tick++;
                const end = tickEnd(this.tick, this.rate) - this.base;
                this.latest = this.analysis.analyze(this.mono, end, this.tick / TICKS_PER_SECOND);
                beat = Math.max(beat, this.latest.beat);
            }
            return { ...this.latest, beat };
        }
    }

    Vimbo.define("FrameFeatures", FrameFeatures);
}
