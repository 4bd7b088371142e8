"use strict";
// Wake: a calm water surface seen at a slant; a wandering source leaves rings that spread and
// fade, louder sound and beats leave stronger ones, and the level swells the water lines. Above
// the horizon a sky brightens with the level.
{
    const { hsla, beginFrame } = Vimbo.paint;
    const RIPPLES = 40;
    const LINES = 9;
    const LINE_POINTS = 64;
    const RIPPLE_SECONDS = 4;
    const TAU = Math.PI * 2;
    const HORIZON = 0.3; // of the height

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
            this.context = null;
        }

        buildPaint(ctx, dark) {
            this.context = ctx;
            this.dark = dark;
            this.ripplePaint = dark ? hsla(180, 90, 78) : hsla(205, 90, 28);
            this.linePaint = dark ? hsla(195, 75, 68) : hsla(210, 75, 32);
            // A unit-square gradient, stretched over the sky by the transform.
            const sky = ctx.createLinearGradient(0, 0, 0, 1);
            sky.addColorStop(0, dark ? hsla(225, 60, 10, 0) : hsla(205, 70, 85, 0));
            sky.addColorStop(0.7, dark ? hsla(215, 65, 22, 0.55) : hsla(200, 70, 82, 0.7));
            sky.addColorStop(1, dark ? hsla(190, 70, 42, 0.85) : hsla(190, 60, 72, 0.95));
            this.skyPaint = sky;
        }

        drawSky(ctx, audio, look, horizon) {
            const { width, dpr } = look;
            ctx.setTransform(dpr * width, 0, 0, dpr * horizon, 0, 0);
            ctx.globalAlpha = 0.7 + 0.3 * audio.level;
            ctx.fillStyle = this.skyPaint;
            ctx.fillRect(0, 0, 1, 1);
            ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
            ctx.globalAlpha = 0.6 + 0.4 * audio.level;
            ctx.strokeStyle = this.ripplePaint;
            ctx.lineWidth = 1.5;
            ctx.beginPath();
            ctx.moveTo(0, horizon);
            ctx.lineTo(width, horizon);
            ctx.stroke();
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
            if (ctx !== this.context || look.dark !== this.dark) this.buildPaint(ctx, look.dark);
            beginFrame(ctx, look);
            const dt = Math.min(0.05, seconds);
            const { width, height } = look;
            const horizon = height * HORIZON;
            const t = audio.motion;
            this.drawSky(ctx, audio, look, horizon);
            // The source wanders over the middle of the water, well inside the frame, so each ring
            // is born where it can be seen.
            const sourceX = width / 2 + Math.sin(t * 0.35) * width * 0.28;
            const sourceY = horizon + (height - horizon) * (0.45 + 0.2 * Math.sin(t * 0.23));

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
            ctx.lineWidth = 1.5;
            for (let line = 0; line < LINES; line++) {
                const depth = line / (LINES - 1);
                const baseY = horizon + (height * 0.98 - horizon) * depth * depth;
                const swell = (4 + 26 * audio.spectrum[Math.round(depth * 23)]) * (0.4 + depth);
                ctx.globalAlpha = 0.45 + 0.45 * depth;
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
                ctx.globalAlpha = Math.min(1, life * (0.4 + this.strength[i]));
                ctx.lineWidth = 1.5 + 2.5 * this.strength[i] * life;
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
