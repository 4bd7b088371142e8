"use strict";
// Glossy: a lacquered orb breathing with the bass inside a ring of spectrum bars.
{
    const { hsla, glowSprite, drawGlow, beginFrame } = Vimbo.paint;
    const TAU = Math.PI * 2;
    const BARS = 48;
    // The status pill sits 44 px from the top and is about 32 px tall; the ring keeps clear of it,
    // and being centred, of the track line at the bottom as well. Small windows give up less.
    const TOP_CLEARANCE = 84;
    const EDGE_MARGIN = 8;

    class GlossySkin {
        constructor() {
            this.context = null;
            this.dark = null;
        }

        // Gradients live in unit coordinates and are stretched by the transform of each shape, so
        // they are built once per appearance instead of once per frame.
        buildPaint(ctx, dark) {
            this.context = ctx;
            this.dark = dark;
            const bar = ctx.createLinearGradient(0, 0, 1, 0);
            bar.addColorStop(0, hsla(190, 95, dark ? 62 : 45));
            bar.addColorStop(1, hsla(275, 90, dark ? 68 : 52));
            this.barPaint = bar;
            const orb = ctx.createRadialGradient(-0.35, -0.4, 0.05, 0, 0, 1);
            orb.addColorStop(0, hsla(190, 100, 96));
            orb.addColorStop(0.25, hsla(200, 95, dark ? 66 : 60));
            orb.addColorStop(0.75, hsla(240, 85, dark ? 38 : 45));
            orb.addColorStop(1, hsla(255, 80, dark ? 16 : 30));
            this.orbPaint = orb;
            const shine = ctx.createLinearGradient(0, -1, 0, 0.1);
            shine.addColorStop(0, "rgba(255,255,255,0.75)");
            shine.addColorStop(1, "rgba(255,255,255,0)");
            this.shinePaint = shine;
            this.shineStripe = dark ? "rgba(255,255,255,0.28)" : "rgba(255,255,255,0.45)";
            this.tipGlow = glowSprite(hsla(200, 100, 70, 1));
            this.orbGlow = glowSprite(hsla(230, 100, 60, 1));
        }

        resize() {}

        // Sized from the room the ring has, not the window, so that the longest bars with their
        // tip glow on a full beat still end inside it.
        layout(width, height, audio) {
            const clearance = Math.min(TOP_CLEARANCE, height * 0.18);
            const room = Math.max(1, Math.min(width / 2, height / 2 - clearance) - EDGE_MARGIN);
            const orbRadius = room * (0.2 + 0.08 * audio.bass + 0.05 * audio.beat);
            const inner = orbRadius * 1.3 + room * 0.03;
            return { orbRadius, inner, reach: room * 0.4, barWidth: ((TAU * inner) / BARS) * 0.56 };
        }

        draw(ctx, audio, look) {
            if (ctx !== this.context || look.dark !== this.dark) this.buildPaint(ctx, look.dark);
            const { width, height, dpr } = look;
            beginFrame(ctx, look);

            const cx = width / 2;
            const cy = height / 2;
            const { orbRadius, inner, reach, barWidth } = this.layout(width, height, audio);
            const turn = audio.motion * 0.12;
            const glow = look.dark && look.glow;

            if (glow) {
                ctx.globalCompositeOperation = "lighter";
                ctx.globalAlpha = 0.25 + 0.45 * audio.energy + 0.3 * audio.beat;
                drawGlow(ctx, this.orbGlow, cx, cy, orbRadius * 2.8);
                ctx.globalCompositeOperation = "source-over";
                ctx.globalAlpha = 1;
            }

            for (let i = 0; i < BARS; i++) {
                // Mirrored halves keep the ring symmetric: low bands at the top, high at the bottom.
                const band = i < BARS / 2 ? i : BARS - 1 - i;
                const value = audio.spectrum[band];
                // A slow swell keeps the ring alive in silence; sound soon outgrows it.
                const idle = 0.025 * (1 + Math.sin(audio.motion * 2.2 + i * 0.52));
                const length = reach * (0.04 + idle + 0.95 * value);
                const angle = turn + ((i + 0.5) / BARS) * TAU - Math.PI / 2;
                const cos = Math.cos(angle);
                const sin = Math.sin(angle);
                const x = cx + cos * inner;
                const y = cy + sin * inner;
                ctx.setTransform(
                    dpr * cos * length,
                    dpr * sin * length,
                    -dpr * sin * barWidth,
                    dpr * cos * barWidth,
                    dpr * x,
                    dpr * y
                );
                ctx.fillStyle = this.barPaint;
                ctx.fillRect(0, -0.5, 1, 1);
                ctx.fillStyle = this.shineStripe;
                ctx.fillRect(0, -0.5, 1, 0.32);
            }

            if (glow) {
                ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
                ctx.globalCompositeOperation = "lighter";
                for (let i = 0; i < BARS; i += 2) {
                    const band = i < BARS / 2 ? i : BARS - 1 - i;
                    const value = audio.spectrum[band];
                    if (value < 0.15) continue;
                    const angle = turn + ((i + 0.5) / BARS) * TAU - Math.PI / 2;
                    const tip = inner + reach * (0.09 + 0.95 * value);
                    ctx.globalAlpha = value * 0.7;
                    drawGlow(
                        ctx,
                        this.tipGlow,
                        cx + Math.cos(angle) * tip,
                        cy + Math.sin(angle) * tip,
                        barWidth * (1.5 + 2 * value)
                    );
                }
                ctx.globalCompositeOperation = "source-over";
                ctx.globalAlpha = 1;
            }

            ctx.setTransform(dpr * orbRadius, 0, 0, dpr * orbRadius, dpr * cx, dpr * cy);
            ctx.fillStyle = this.orbPaint;
            ctx.beginPath();
            ctx.arc(0, 0, 1, 0, TAU);
            ctx.fill();
            // The lacquer: a soft highlight cap over the upper half of the orb.
            ctx.fillStyle = this.shinePaint;
            ctx.beginPath();
            ctx.ellipse(0, -0.42, 0.68, 0.46, 0, 0, TAU);
            ctx.fill();
            ctx.setTransform(1, 0, 0, 1, 0, 0);
        }
    }

    Vimbo.skinCatalog.registerLook("Glossy", GlossySkin);
}
