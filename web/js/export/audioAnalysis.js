"use strict";
// The application's audio analysis, run over a decoded sound instead of the live capture, so an
// exported video moves exactly as the window would to the same sound. Every step is the native
// analyzer's, in single precision (Math.fround after each operation), in the same summation order.
{
    const f = Math.fround;
    const FRAME = 2048;
    const BINS = FRAME / 2;
    const TOP_BIN = BINS - 1;
    const BANDS = 24;
    const HISTORY = 90;
    const TICKS_PER_SECOND = 60;
    const SPECTRUM_RATIO = f(222.22223);
    const K = Object.freeze({
        silence: f(0.00005),
        idleDecay: f(0.006),
        meanRate: f(0.008),
        bandMean: f(0.85),
        spectrumMean: f(0.78),
        levelFluxDecay: f(0.9997),
        bandDecay: f(0.9995),
        peakStart: f(0.001),
        peakFloor: f(0.0001),
        maxRawFloor: f(0.000001),
        exponent: f(0.38),
        beatFlux: f(0.1),
        beatDeviations: f(1.35),
        strengthDeviations: f(2.5),
        strengthFloor: f(0.05),
        minStrength: f(0.4),
        levelWeight: f(0.5),
        fluxWeight: f(0.9),
        rise: f(0.035),
        fall: f(0.007),
    });

    const truncatedBin = (hz, binHz, cap) => Math.min(Math.trunc(f(hz / binHz)), cap);
    const bandBins = (binHz, lo, hi) => ({
        first: Math.max(truncatedBin(lo, binHz, TOP_BIN + 1), 1),
        last: truncatedBin(hi, binHz, TOP_BIN),
    });
    const binCount = (range) => (range.first >= range.last ? 0 : range.last - range.first + 1);

    // Inclusive bin ranges of the three bands, the 24 spectrum bands and the flux sum at one rate.
    function analysisBands(sampleRate) {
        const binHz = f(f(sampleRate) * f(0.00048828125));
        const spectrum = [];
        for (let i = 0; i < BANDS; i++) {
            const lo = f(45 * f(Math.pow(SPECTRUM_RATIO, f(i / 24))));
            const hi = f(45 * f(Math.pow(SPECTRUM_RATIO, f((i + 1) / 24))));
            spectrum.push(bandBins(binHz, lo, hi));
        }
        return {
            bass: bandBins(binHz, 20, 250),
            mid: bandBins(binHz, 250, 2000),
            treble: bandBins(binHz, 2000, 9000),
            spectrum,
            fluxTop: truncatedBin(8000, binHz, TOP_BIN),
        };
    }

    // term(0) + … + term(count − 1) in 16 interleaved partial sums, as the native code adds them.
    function laneSum(count, term) {
        const sums = new Float32Array(16);
        for (let i = 0; i < count; i++) sums[i % 16] = f(sums[i % 16] + f(term(i)));
        let total = 0;
        for (const sum of sums) total = f(total + sum);
        return total;
    }

    // A peak decaying a little each frame; returns value / peak, at most 1.
    function normalise(tracker, value, decay) {
        tracker.peak = Math.max(f(tracker.peak * decay), value);
        return Math.min(f(value / Math.max(tracker.peak, K.peakFloor)), 1);
    }

    // A slowly rising mean and the value above a share of it, against that value's decaying peak.
    function track(tracker, value, meanFactor) {
        tracker.mean = f(tracker.mean + f(f(value - tracker.mean) * K.meanRate));
        const above = Math.max(f(value - f(meanFactor * tracker.mean)), 0);
        return normalise(tracker, above, K.bandDecay);
    }

    const newTracker = () => ({ mean: 0, peak: K.peakStart });

    class AudioAnalysis {
        constructor(sampleRate) {
            this.bands = analysisBands(sampleRate);
            this.fft = new Vimbo.RealFft(FRAME);
            this.hann = new Float32Array(FRAME);
            for (let i = 0; i < FRAME; i++) this.hann[i] = 0.8165 * (1 - Math.cos((2 * Math.PI * i) / FRAME));
            this.windowed = new Float32Array(FRAME);
            this.magsSqrt = new Float32Array(BINS);
            this.prevMags = new Float32Array(BINS);
            this.levelPeak = { peak: K.peakStart };
            this.fluxPeak = { peak: K.peakStart };
            this.bass = newTracker();
            this.mid = newTracker();
            this.treble = newTracker();
            this.spectrum = Array.from({ length: BANDS }, newTracker);
            this.history = [];
            this.lastBeatAt = 0;
            this.energyEMA = 0;
        }

        // Features of the 2048 mono samples before `end` (zeros before the start of the sound) at
        // `now` seconds: { level, bass, mid, treble, energy, beat, spectrum }.
        analyze(mono, end, now) {
            const start = end - FRAME;
            const sample = (i) => (start + i >= 0 ? mono[start + i] : 0);
            const rms = f(Math.sqrt(f(laneSum(FRAME, (i) => f(sample(i) * sample(i))) / FRAME)));
            if (rms < K.silence) return this.decayEnergy();
            for (let i = 0; i < FRAME; i++) this.windowed[i] = sample(i) * this.hann[i];
            this.transform();
            const raw = this.bandMeans();
            const flux = laneSum(this.bands.fluxTop, (k) => Math.max(0, f(this.magsSqrt[k + 1] - this.prevMags[k + 1])));
            this.prevMags.set(this.magsSqrt);

            const features = { level: normalise(this.levelPeak, rms, K.levelFluxDecay) };
            features.bass = track(this.bass, raw.bass, K.bandMean);
            features.mid = track(this.mid, raw.mid, K.bandMean);
            features.treble = track(this.treble, raw.treble, K.bandMean);
            features.spectrum = this.trackSpectrum(raw.spectrum);
            const nflux = normalise(this.fluxPeak, flux, K.levelFluxDecay);
            features.beat = this.detectBeat(nflux, now);
            const target = Math.min(f(f(K.levelWeight * features.level) + f(K.fluxWeight * nflux)), 1);
            const rate = this.energyEMA < target ? K.rise : K.fall;
            this.energyEMA = f(this.energyEMA + f(f(target - this.energyEMA) * rate));
            features.energy = this.energyEMA;
            return features;
        }

        // magsSqrt[k] = |2·X[k]| in single precision, as the native FFT's magnitudes.
        transform() {
            this.fft.transform(this.windowed);
            const { outRe, outIm } = this.fft;
            for (let k = 1; k < BINS; k++) {
                const re = f(2 * f(outRe[k]));
                const im = f(2 * f(outIm[k]));
                this.magsSqrt[k] = Math.sqrt(f(f(re * re) + f(im * im)));
            }
        }

        bandMean(range) {
            const count = binCount(range);
            if (count === 0) return 0;
            let sum = 0;
            for (let k = range.first; k <= range.last; k++) sum = f(sum + this.magsSqrt[k]);
            return f(sum / count);
        }

        bandMeans() {
            const { bass, mid, treble, spectrum } = this.bands;
            return {
                bass: this.bandMean(bass),
                mid: this.bandMean(mid),
                treble: this.bandMean(treble),
                spectrum: spectrum.map((range) => this.bandMean(range)),
            };
        }

        trackSpectrum(raw) {
            const maxRaw = raw.reduce((max, value) => Math.max(max, value), K.maxRawFloor);
            return raw.map((value, i) => {
                const standing = track(this.spectrum[i], value, K.spectrumMean);
                return standing > 0 ? f(standing * f(Math.pow(f(value / maxRaw), K.exponent))) : 0;
            });
        }

        detectBeat(nflux, now) {
            const history = this.history;
            history.push(nflux);
            if (history.length > HISTORY) history.shift();
            if (history.length <= 30) return 0;
            let sum = 0;
            for (const value of history) sum = f(sum + value);
            const mu = f(sum / history.length);
            let squares = 0;
            for (const value of history) squares = f(squares + f(f(value - mu) * f(value - mu)));
            const sigma = f(Math.sqrt(f(squares / history.length)));
            const onset = nflux > K.beatFlux && nflux > f(mu + f(K.beatDeviations * sigma)) && now - this.lastBeatAt > 0.16;
            if (!onset) return 0;
            this.lastBeatAt = now;
            const strength = f(f(nflux - mu) / Math.max(f(K.strengthDeviations * sigma), K.strengthFloor));
            return Math.min(Math.max(strength, K.minStrength), 1);
        }

        decayEnergy() {
            this.energyEMA = f(this.energyEMA + f(f(0 - this.energyEMA) * K.idleDecay));
            const spectrum = new Array(BANDS).fill(0);
            return { level: 0, bass: 0, mid: 0, treble: 0, energy: this.energyEMA, beat: 0, spectrum };
        }
    }

    // Mono mix of planar channels, summed in channel order in single precision and divided by their
    // count, as the capture's mix-down does.
    function monoMix(channels) {
        const length = Math.min(...channels.map((channel) => channel.length));
        const mono = new Float32Array(length);
        for (let i = 0; i < length; i++) {
            let sum = 0;
            for (const channel of channels) sum = f(sum + channel[i]);
            mono[i] = sum / channels.length;
        }
        return mono;
    }

    // The application's 60 Hz ticks over a sound: tick k (1, 2, …) sees the samples before
    // floor(k · rate / 60) at now = k / 60 s; the last tick is floor(frames · 60 / rate).
    function tickCount(frames, sampleRate) {
        return Math.floor((frames * TICKS_PER_SECOND) / sampleRate);
    }

    function tickEnd(tick, sampleRate) {
        return Math.floor((tick * sampleRate) / TICKS_PER_SECOND);
    }

    Vimbo.define("audioAnalysis", { AudioAnalysis, FRAME, analysisBands, monoMix, tickCount, tickEnd, TICKS_PER_SECOND });
}
