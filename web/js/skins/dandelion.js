"use strict";
// Dandelion: a seed head whose stalks reach out with the spectrum; beats blow seeds away.
{
    const { hsla, beginFrame, mirroredBand, drawGlow, glowSprite } = Vimbo.paint;
    const SEEDS = 96;
    const FLYERS = 48;
    const TAU = Math.PI * 2;
    const GOLDEN_ANGLE = Math.PI * (3 - Math.sqrt(5));

    class DandelionSkin {
        constructor() {
            this.angle = new Float32Array(SEEDS);
            this.reach = new Float32Array(SEEDS);
            for (let i = 0; i < SEEDS; i++) {
                this.angle[i] = (i * GOLDEN_ANGLE) % TAU;
                // Seeds seen at a slant look shorter: a sphere of stalks drawn flat.
                this.reach[i] = 0.55 + 0.45 * Math.sqrt((i + 0.5) / SEEDS);
            }
            this.flyX = new Float32Array(FLYERS);
            this.flyY = new Float32Array(FLYERS);
            this.flyVX = new Float32Array(FLYERS);
            this.flyVY = new Float32Array(FLYERS);
            this.flyLife = new Float32Array(FLYERS);
            this.nextFlyer = 0;
            this.lastBeat = 0;
            this.dark = null;
        }

        buildPaint(dark) {
            this.dark = dark;
            this.stalkPaint = dark ? "rgba(235,240,255,0.55)" : "rgba(40,50,70,0.55)";
            this.tuftPaint = dark ? "rgba(255,255,255,0.85)" : "rgba(30,40,60,0.8)";
            this.headPaint = dark ? hsla(45, 90, 60) : hsla(35, 85, 45);
            this.glow = glowSprite(hsla(50, 100, 80, 1));
        }

        resize() {}

        release(cx, cy, base, turn) {
            for (let n = 0; n < 4; n++) {
                const i = this.nextFlyer;
                this.nextFlyer = (this.nextFlyer + 1) % FLYERS;
                const angle = turn + Math.random() * TAU;
                const start = base * 0.2;
                this.flyX[i] = cx + Math.cos(angle) * start;
                this.flyY[i] = cy + Math.sin(angle) * start;
                this.flyVX[i] = Math.cos(angle) * (60 + 90 * Math.random()) + 40;
                this.flyVY[i] = Math.sin(angle) * (60 + 90 * Math.random()) - 30;
                this.flyLife[i] = 1;
            }
        }

        draw(ctx, audio, look, seconds) {
            if (look.dark !== this.dark) this.buildPaint(look.dark);
            beginFrame(ctx, look);
            const dt = Math.min(0.05, seconds);
            const cx = look.width / 2;
            const cy = look.height / 2;
            const base = Math.min(look.width, look.height);
            const turn = audio.motion * 0.08;
            if (audio.beat > 0.4 && this.lastBeat <= 0.4) this.release(cx, cy, base, turn);
            this.lastBeat = audio.beat;
            const tuft = 6 + 10 * audio.treble;

            ctx.lineCap = "round";
            ctx.strokeStyle = this.stalkPaint;
            ctx.lineWidth = 1;
            ctx.beginPath();
            for (let i = 0; i < SEEDS; i++) {
                const angle = this.angle[i] + turn;
                const length = base * this.reach[i] * (0.2 + 0.28 * mirroredBand(audio.spectrum, angle / TAU));
                ctx.moveTo(cx, cy);
                ctx.lineTo(cx + Math.cos(angle) * length, cy + Math.sin(angle) * length);
            }
            ctx.stroke();

            // Each seed ends in a small fan of hairs pointing outwards.
            ctx.strokeStyle = this.tuftPaint;
            ctx.lineWidth = 0.8;
            ctx.beginPath();
            for (let i = 0; i < SEEDS; i++) {
                const angle = this.angle[i] + turn;
                const length = base * this.reach[i] * (0.2 + 0.28 * mirroredBand(audio.spectrum, angle / TAU));
                const tipX = cx + Math.cos(angle) * length;
                const tipY = cy + Math.sin(angle) * length;
                for (let hair = -2; hair <= 2; hair++) {
                    const spread = angle + hair * 0.32;
                    ctx.moveTo(tipX, tipY);
                    ctx.lineTo(tipX + Math.cos(spread) * tuft, tipY + Math.sin(spread) * tuft);
                }
            }
            for (let i = 0; i < FLYERS; i++) {
                if (this.flyLife[i] <= 0) continue;
                this.flyLife[i] -= dt * 0.35;
                this.flyX[i] += this.flyVX[i] * dt;
                this.flyY[i] += this.flyVY[i] * dt;
                for (let hair = -2; hair <= 2; hair++) {
                    const spread = -Math.PI / 2 + hair * 0.35;
                    ctx.moveTo(this.flyX[i], this.flyY[i]);
                    ctx.lineTo(this.flyX[i] + Math.cos(spread) * 8, this.flyY[i] + Math.sin(spread) * 8);
                }
            }
            ctx.stroke();

            const headRadius = base * (0.025 + 0.02 * audio.bass);
            if (look.dark && look.glow) {
                ctx.globalCompositeOperation = "lighter";
                ctx.globalAlpha = 0.3 + 0.5 * audio.energy;
                drawGlow(ctx, this.glow, cx, cy, headRadius * 5);
                ctx.globalCompositeOperation = "source-over";
                ctx.globalAlpha = 1;
            }
            ctx.fillStyle = this.headPaint;
            ctx.beginPath();
            ctx.arc(cx, cy, headRadius, 0, TAU);
            ctx.fill();
        }
    }

    Vimbo.skinCatalog.registerLook("Dandelion", DandelionSkin);
}
