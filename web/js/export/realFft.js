"use strict";
// Forward real FFT of a power-of-two length: the real frame is packed as n/2 complex values (even
// samples real, odd imaginary), transformed by an iterative radix-2 FFT and split into the n/2 + 1
// bins of the real transform. Works in double precision; unscaled, X[k] = Σ x[j]·e^(−2πi·kj/n).
{
    class RealFft {
        constructor(length) {
            const half = length / 2;
            this.length = length;
            this.half = half;
            this.re = new Float64Array(half);
            this.im = new Float64Array(half);
            this.cos = new Float64Array(half);
            this.sin = new Float64Array(half);
            for (let k = 0; k < half; k++) {
                this.cos[k] = Math.cos((2 * Math.PI * k) / length);
                this.sin[k] = Math.sin((2 * Math.PI * k) / length);
            }
            this.reverse = new Uint32Array(half);
            const bits = Math.log2(half);
            for (let i = 0; i < half; i++) {
                let r = 0;
                for (let b = 0; b < bits; b++) r |= ((i >> b) & 1) << (bits - 1 - b);
                this.reverse[i] = r;
            }
            // The real transform's bins 0…n/2.
            this.outRe = new Float64Array(half + 1);
            this.outIm = new Float64Array(half + 1);
        }

        // Fills outRe and outIm from `input` (any array of `length` numbers).
        transform(input) {
            const { half, re, im } = this;
            for (let i = 0; i < half; i++) {
                const j = this.reverse[i];
                re[j] = input[2 * i];
                im[j] = input[2 * i + 1];
            }
            this.butterflies();
            this.split();
        }

        // The complex FFT of length n/2 in place; its twiddles are every second one of length n.
        butterflies() {
            const { half, re, im } = this;
            for (let size = 2; size <= half; size *= 2) {
                const step = (2 * half) / size;
                for (let start = 0; start < half; start += size) {
                    for (let k = 0; k < size / 2; k++) {
                        const wr = this.cos[k * step];
                        const wi = -this.sin[k * step];
                        const a = start + k;
                        const b = a + size / 2;
                        const tr = re[b] * wr - im[b] * wi;
                        const ti = re[b] * wi + im[b] * wr;
                        re[b] = re[a] - tr;
                        im[b] = im[a] - ti;
                        re[a] += tr;
                        im[a] += ti;
                    }
                }
            }
        }

        // Z[k] = E[k] + i·O[k] of the packed transform gives X[k] = E[k] + e^(−2πik/n)·O[k].
        split() {
            const { half, re, im, outRe, outIm } = this;
            outRe[0] = re[0] + im[0];
            outIm[0] = 0;
            outRe[half] = re[0] - im[0];
            outIm[half] = 0;
            for (let k = 1; k < half; k++) {
                const zr = re[k];
                const zi = im[k];
                const cr = re[half - k];
                const ci = -im[half - k];
                const er = (zr + cr) / 2;
                const ei = (zi + ci) / 2;
                const or = (zi - ci) / 2;
                const oi = -(zr - cr) / 2;
                const wr = this.cos[k];
                const wi = -this.sin[k];
                outRe[k] = er + or * wr - oi * wi;
                outIm[k] = ei + or * wi + oi * wr;
            }
        }
    }

    Vimbo.define("RealFft", RealFft);
}
