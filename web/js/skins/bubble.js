"use strict";
// Bubble: glassy bubbles rise from the floor; louder sound blows more and bigger ones, a beat
// releases a burst.
{
    const { hsla, beginFrame, drawGlow, glowSprite } = Vimbo.paint;
    const CAPACITY = 90;
    const TAU = Math.PI * 2;
    // The page opens on a glass already in motion: bubbles of moderate sound spread over the
    // height, instead of an empty frame waiting for the first ones to rise from the floor.
    const SEEDED = 24;
    const SEED_AUDIO = { spectrum: new Float32Array(24).fill(0.35), bass: 0.5, energy: 0.15 };

    class BubbleSkin {
        constructor() {
            this.x = new Float32Array(CAPACITY);
            this.y = new Float32Array(CAPACITY);
            this.radius = new Float32Array(CAPACITY);
            this.rise = new Float32Array(CAPACITY);
            this.phase = new Float32Array(CAPACITY);
            this.alive = new Uint8Array(CAPACITY);
            this.width = 0;
            this.height = 0;
            this.pending = 0;
            this.lastBeat = 0;
            this.context = null;
            this.dark = null;
        }

        buildPaint(ctx, dark) {
            this.context = ctx;
            this.dark = dark;
            const body = ctx.createRadialGradient(-0.35, -0.35, 0.05, 0, 0, 1);
            body.addColorStop(0, dark ? "rgba(255,255,255,0.55)" : "rgba(255,255,255,0.9)");
            body.addColorStop(0.4, dark ? hsla(185, 80, 60, 0.12) : hsla(200, 80, 55, 0.15));
            body.addColorStop(0.92, dark ? hsla(290, 80, 65, 0.3) : hsla(280, 70, 50, 0.3));
            body.addColorStop(1, dark ? hsla(190, 90, 75, 0.85) : hsla(210, 80, 40, 0.8));
            this.bodyPaint = body;
            this.glow = glowSprite(hsla(190, 100, 70, 1));
        }

        resize(width, height) {
            const first = this.width === 0;
            this.width = width;
            this.height = height;
            if (first) {
                for (let n = 0; n < SEEDED; n++) this.spawn(SEED_AUDIO, Math.random() * height);
            }
        }

        spawn(audio, y = this.height + 60) {
            for (let i = 0; i < CAPACITY; i++) {
                if (this.alive[i]) continue;
                const band = Math.floor(Math.random() * 24);
                const size = Math.min(this.width, this.height);
                this.alive[i] = 1;
                this.x[i] = Math.random() * this.width;
                this.y[i] = y;
                this.radius[i] = size * (0.012 + 0.05 * audio.spectrum[band] + 0.03 * Math.random() * audio.bass);
                this.rise[i] = 40 + 120 * Math.random() + 200 * audio.energy;
                this.phase[i] = Math.random() * TAU;
                return;
            }
        }

        draw(ctx, audio, look, seconds) {
            if (ctx !== this.context || look.dark !== this.dark) this.buildPaint(ctx, look.dark);
            const dt = Math.min(0.05, seconds);
            this.pending += dt * (1.5 + 30 * audio.energy);
            if (audio.beat > 0.4 && this.lastBeat <= 0.4) this.pending += 6 * audio.beat;
            this.lastBeat = audio.beat;
            while (this.pending >= 1) {
                this.spawn(audio);
                this.pending -= 1;
            }
            beginFrame(ctx, look);
            const { dpr } = look;
            const glow = look.dark && look.glow;
            for (let i = 0; i < CAPACITY; i++) {
                if (!this.alive[i]) continue;
                this.y[i] -= this.rise[i] * dt * (0.6 + audio.level);
                this.phase[i] += dt * 2;
                if (this.y[i] + this.radius[i] < -20) {
                    this.alive[i] = 0;
                    continue;
                }
                const x = this.x[i] + Math.sin(this.phase[i]) * this.radius[i] * 0.8;
                const y = this.y[i];
                const r = this.radius[i] * (1 + 0.15 * audio.beat);
                if (glow) {
                    ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
                    ctx.globalCompositeOperation = "lighter";
                    ctx.globalAlpha = 0.15 + 0.35 * audio.treble;
                    drawGlow(ctx, this.glow, x, y, r * 1.8);
                    ctx.globalCompositeOperation = "source-over";
                    ctx.globalAlpha = 1;
                }
                // The gradient is in unit coordinates; the transform sizes it to this bubble.
                ctx.setTransform(dpr * r, 0, 0, dpr * r, dpr * x, dpr * y);
                ctx.fillStyle = this.bodyPaint;
                ctx.beginPath();
                ctx.arc(0, 0, 1, 0, TAU);
                ctx.fill();
            }
            ctx.setTransform(1, 0, 0, 1, 0, 0);
        }
    }

    Vimbo.skinCatalog.registerLook("Bubble", BubbleSkin);
}
