"use strict";
// Wake: a calm water surface seen at a slant; a wandering source leaves rings that spread and
// fade, louder sound and beats leave stronger ones, and the level swells the water lines.
{
    const { hsla, beginFrame } = Vimbo.paint;
    const RIPPLES = 40;
    const LINES = 9;
    const LINE_POINTS = 64;
    const RIPPLE_SECONDS = 4;
    const TAU = Math.PI * 2;

    class WakeSkin {
        constructor() {
            this.x = new Float32Array(RIPPLES);
            this.y = new Float32Array(RIPPLES);
            this.age = new Float32Array(RIPPLES).fill(RIPPLE_SECONDS);
            this.strength = new Float32Array(RIPPLES);
            this.next = 0;
            this.sinceRipple = 0;
            this.lastBeat = 0;
            this.dark = null;
        }

        buildPaint(dark) {
            this.dark = dark;
            this.ripplePaint = dark ? hsla(180, 80, 75) : hsla(205, 75, 35);
            this.linePaint = dark ? hsla(200, 60, 55) : hsla(210, 50, 45);
        }

        resize() {}

        emit(x, y, strength) {
            const i = this.next;
            this.next = (this.next + 1) % RIPPLES;
            this.x[i] = x;
            this.y[i] = y;
            this.age[i] = 0;
            this.strength[i] = strength;
        }

        draw(ctx, audio, look, seconds) {
            if (look.dark !== this.dark) this.buildPaint(look.dark);
            beginFrame(ctx, look);
            const dt = Math.min(0.05, seconds);
            const { width, height } = look;
            const t = audio.motion;
            const sourceX = width / 2 + Math.sin(t * 0.35) * width * 0.28;
            const sourceY = height * (0.55 + 0.12 * Math.sin(t * 0.23));

            this.sinceRipple += dt * (1 + 5 * audio.energy);
            if (this.sinceRipple >= 0.35) {
                this.sinceRipple = 0;
                this.emit(sourceX, sourceY, 0.25 + 0.6 * audio.level);
            }
            if (audio.beat > 0.4 && this.lastBeat <= 0.4) this.emit(sourceX, sourceY, 0.6 + 0.4 * audio.beat);
            this.lastBeat = audio.beat;

            const glow = look.dark && look.glow;
            if (glow) ctx.globalCompositeOperation = "lighter";

            // Water lines: each swells with one part of the spectrum.
            ctx.strokeStyle = this.linePaint;
            ctx.lineWidth = 1;
            for (let line = 0; line < LINES; line++) {
                const depth = line / (LINES - 1);
                const baseY = height * (0.3 + 0.68 * depth * depth);
                const swell = (4 + 26 * audio.spectrum[Math.round(depth * 23)]) * (0.4 + depth);
                ctx.globalAlpha = 0.15 + 0.35 * depth;
                ctx.beginPath();
                for (let p = 0; p <= LINE_POINTS; p++) {
                    const x = (p / LINE_POINTS) * width;
                    const y = baseY + Math.sin(x * 0.012 + t * (1 + line * 0.2) + line) * swell;
                    if (p === 0) ctx.moveTo(x, y);
                    else ctx.lineTo(x, y);
                }
                ctx.stroke();
            }

            ctx.strokeStyle = this.ripplePaint;
            const spread = Math.min(width, height) * 0.16;
            for (let i = 0; i < RIPPLES; i++) {
                if (this.age[i] >= RIPPLE_SECONDS) continue;
                this.age[i] += dt;
                const life = 1 - this.age[i] / RIPPLE_SECONDS;
                const rx = 6 + spread * this.age[i] * (1 + audio.bass * 0.3);
                ctx.globalAlpha = Math.max(0, life * life * this.strength[i]);
                ctx.lineWidth = 1 + 2.5 * this.strength[i] * life;
                ctx.beginPath();
                ctx.ellipse(this.x[i], this.y[i], rx, rx * 0.3, 0, 0, TAU);
                ctx.stroke();
            }
            ctx.globalCompositeOperation = "source-over";
            ctx.globalAlpha = 1;
        }
    }

    Vimbo.skinCatalog.registerLook("Wake", WakeSkin);
}
