"use strict";
// Parasite: a living blob that swells with the bass, crawls with the mids and shoots tendrils
// where the spectrum is strong; a few nuclei drift inside it.
{
    const { hsla, beginFrame, drawGlow, glowSprite } = Vimbo.paint;
    const POINTS = 90;
    const TENDRILS = 7;
    const NUCLEI = 3;
    const TAU = Math.PI * 2;

    class ParasiteSkin {
        constructor() {
            this.px = new Float32Array(POINTS);
            this.py = new Float32Array(POINTS);
            this.context = null;
            this.dark = null;
        }

        buildPaint(ctx, dark) {
            this.context = ctx;
            this.dark = dark;
            const flesh = ctx.createRadialGradient(0.15, -0.2, 0.05, 0, 0, 1.4);
            flesh.addColorStop(0, dark ? hsla(85, 95, 62) : hsla(90, 70, 52));
            flesh.addColorStop(0.55, dark ? hsla(120, 70, 30) : hsla(140, 55, 35));
            flesh.addColorStop(1, dark ? hsla(285, 60, 25) : hsla(290, 45, 30));
            this.fleshPaint = flesh;
            this.rimPaint = dark ? hsla(80, 100, 70, 0.9) : hsla(285, 50, 25, 0.9);
            this.nucleusPaint = dark ? hsla(300, 70, 20, 0.85) : hsla(300, 50, 22, 0.7);
            this.glow = glowSprite(hsla(95, 100, 55, 1));
        }

        resize() {}

        // The outline in units of the body radius.
        shape(audio) {
            const t = audio.motion;
            for (let i = 0; i < POINTS; i++) {
                const angle = (i / POINTS) * TAU;
                let r = 1 + 0.1 * Math.sin(3 * angle + t * 1.3) + 0.07 * Math.sin(7 * angle - t * 2.1) * (0.5 + audio.mid);
                for (let k = 0; k < TENDRILS; k++) {
                    const heading = (k / TENDRILS) * TAU + t * 0.15 + Math.sin(t * 0.7 + k) * 0.3;
                    let apart = Math.abs(angle - heading) % TAU;
                    if (apart > Math.PI) apart = TAU - apart;
                    const strength = audio.spectrum[(k * 3 + 2) % 24];
                    r += Math.exp(-(apart * apart) / 0.006) * (0.15 + 1.1 * strength);
                }
                this.px[i] = Math.cos(angle) * r;
                this.py[i] = Math.sin(angle) * r;
            }
        }

        // A closed curve through the midpoints, so the outline has no corners.
        traceOutline(ctx) {
            const last = POINTS - 1;
            ctx.beginPath();
            ctx.moveTo((this.px[last] + this.px[0]) / 2, (this.py[last] + this.py[0]) / 2);
            for (let i = 0; i < POINTS; i++) {
                const next = i === last ? 0 : i + 1;
                ctx.quadraticCurveTo(this.px[i], this.py[i], (this.px[i] + this.px[next]) / 2, (this.py[i] + this.py[next]) / 2);
            }
            ctx.closePath();
        }

        draw(ctx, audio, look) {
            if (ctx !== this.context || look.dark !== this.dark) this.buildPaint(ctx, look.dark);
            beginFrame(ctx, look);
            const { dpr } = look;
            const cx = look.width / 2;
            const cy = look.height / 2;
            const radius = Math.min(look.width, look.height) * (0.14 + 0.06 * audio.bass + 0.02 * audio.beat);
            if (look.dark && look.glow) {
                ctx.globalCompositeOperation = "lighter";
                ctx.globalAlpha = 0.25 + 0.5 * audio.energy;
                drawGlow(ctx, this.glow, cx, cy, radius * 2.6);
                ctx.globalCompositeOperation = "source-over";
                ctx.globalAlpha = 1;
            }
            this.shape(audio);
            ctx.setTransform(dpr * radius, 0, 0, dpr * radius, dpr * cx, dpr * cy);
            this.traceOutline(ctx);
            ctx.fillStyle = this.fleshPaint;
            ctx.fill();
            ctx.strokeStyle = this.rimPaint;
            ctx.lineWidth = 2 / radius;
            ctx.stroke();

            ctx.fillStyle = this.nucleusPaint;
            const t = audio.motion;
            for (let n = 0; n < NUCLEI; n++) {
                const orbit = 0.35 + 0.12 * n;
                const angle = t * (0.4 + 0.2 * n) + (n * TAU) / NUCLEI;
                const size = 0.12 + 0.1 * audio.spectrum[n * 8 + 4];
                ctx.beginPath();
                ctx.ellipse(Math.cos(angle) * orbit, Math.sin(angle) * orbit, size, size * 0.8, angle, 0, TAU);
                ctx.fill();
            }
            ctx.setTransform(1, 0, 0, 1, 0, 0);
        }
    }

    Vimbo.skinCatalog.registerLook("Parasite", ParasiteSkin);
}
