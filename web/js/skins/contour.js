"use strict";
// Contour: nested contour lines like a topographic map of the sound; the spectrum raises ridges
// around the rings and the outer rings swing wider than the inner ones.
{
    const { hsla, beginFrame, mirroredBand } = Vimbo.paint;
    const RINGS = 11;
    const POINTS = 120;
    const TAU = Math.PI * 2;

    class ContourSkin {
        constructor() {
            this.dark = null;
            this.cos = new Float32Array(POINTS);
            this.sin = new Float32Array(POINTS);
            for (let i = 0; i < POINTS; i++) {
                this.cos[i] = Math.cos((i / POINTS) * TAU);
                this.sin[i] = Math.sin((i / POINTS) * TAU);
            }
        }

        buildPaint(dark) {
            this.dark = dark;
            this.ringPaint = [];
            // Thin lines must read at a glance: light on dark, deep on light, and the hues kept
            // between teal and green, away from the weak yellows.
            for (let ring = 0; ring < RINGS; ring++) {
                const hue = 170 - ring * 7;
                this.ringPaint.push(dark ? hsla(hue, 85, 70 - ring) : hsla(hue + 10, 85, 24 + ring));
            }
        }

        resize() {}

        traceRing(ctx, cx, cy, radius, swing, twist, spectrum, beat) {
            ctx.beginPath();
            for (let i = 0; i < POINTS; i++) {
                const fraction = i / POINTS + twist;
                const ridge = mirroredBand(spectrum, fraction);
                const ripple = Math.sin(fraction * TAU * 5 + twist * 9) * 0.06;
                const r = radius * (1 + swing * (ridge + ripple) + beat * 0.05);
                const x = cx + this.cos[i] * r;
                const y = cy + this.sin[i] * r * 0.92;
                if (i === 0) ctx.moveTo(x, y);
                else ctx.lineTo(x, y);
            }
            ctx.closePath();
        }

        draw(ctx, audio, look) {
            if (look.dark !== this.dark) this.buildPaint(look.dark);
            beginFrame(ctx, look);
            const cx = look.width / 2;
            const cy = look.height / 2;
            const base = Math.min(look.width, look.height);
            const glow = look.dark && look.glow;
            ctx.lineJoin = "round";
            for (let ring = 0; ring < RINGS; ring++) {
                const depth = ring / (RINGS - 1);
                const radius = base * (0.05 + 0.035 * ring) * (1 + 0.12 * audio.bass);
                const swing = 0.1 + 0.55 * depth;
                const twist = audio.motion * (0.02 + 0.015 * ring) * (ring % 2 === 0 ? 1 : -1);
                this.traceRing(ctx, cx, cy, radius, swing, twist, audio.spectrum, audio.beat);
                ctx.strokeStyle = this.ringPaint[ring];
                if (glow) {
                    // A wide faint stroke under the line reads as a glow at the cost of one stroke.
                    ctx.globalCompositeOperation = "lighter";
                    ctx.globalAlpha = 0.12 + 0.2 * audio.energy;
                    ctx.lineWidth = 7;
                    ctx.stroke();
                    ctx.globalCompositeOperation = "source-over";
                }
                ctx.globalAlpha = 0.8 + 0.2 * (1 - depth);
                ctx.lineWidth = 1.8 + 0.6 * (1 - depth) + 1.6 * audio.level * (1 - depth);
                ctx.stroke();
            }
            ctx.globalAlpha = 1;
        }
    }

    Vimbo.skinCatalog.registerLook("Contour", ContourSkin);
}
