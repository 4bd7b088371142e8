"use strict";
// Mesh: a wireframe landscape flying towards the viewer; each new row is the spectrum of the
// moment, bass in the middle, so the recent past stretches away to the horizon, where a striped
// sun sets in a glowing sky that swells with the bass.
{
    const { hsla, beginFrame, mirroredBand } = Vimbo.paint;
    const ROWS = 26;
    const COLUMNS = 25;
    const ROW_SECONDS = 1 / 24;
    const HORIZON = 0.4; // of the height: the far edge of the landscape
    const NEAR_FLOOR = 1.25; // of the height: the nearest row, when silent
    const SUN_STRIPES = 7;

    class MeshSkin {
        constructor() {
            this.heights = new Float32Array(ROWS * COLUMNS); // row 0 is the newest
            this.sinceRow = 0;
            this.dark = null;
        }

        buildPaint(dark) {
            this.dark = dark;
            this.rowPaint = dark ? hsla(300, 85, 66) : hsla(250, 70, 40);
            this.columnPaint = dark ? hsla(190, 90, 60) : hsla(205, 80, 38);
            this.context = null; // the sky's gradients belong to one context and appearance
        }

        // Unit-square gradients, stretched by the transform when filled.
        buildSky(ctx, dark) {
            this.context = ctx;
            const sky = ctx.createLinearGradient(0, 0, 0, 1);
            sky.addColorStop(0, dark ? hsla(250, 70, 12, 0) : hsla(205, 70, 88, 0));
            sky.addColorStop(0.55, dark ? hsla(270, 70, 18, 0.45) : hsla(220, 70, 86, 0.6));
            sky.addColorStop(1, dark ? hsla(320, 85, 38, 0.8) : hsla(20, 90, 84, 0.9));
            this.skyPaint = sky;
            const sun = ctx.createLinearGradient(0, -1, 0, 0);
            sun.addColorStop(0, dark ? hsla(50, 100, 62) : hsla(42, 100, 55));
            sun.addColorStop(1, dark ? hsla(325, 95, 55) : hsla(335, 85, 58));
            this.sunPaint = sun;
        }

        // The sky and the sun, cut into stripes that widen towards the horizon.
        drawSky(ctx, audio, look, horizon) {
            if (ctx !== this.context) this.buildSky(ctx, look.dark);
            const { width, dpr } = look;
            ctx.setTransform(dpr * width, 0, 0, dpr * horizon, 0, 0);
            ctx.globalAlpha = 0.75 + 0.25 * audio.level;
            ctx.fillStyle = this.skyPaint;
            ctx.fillRect(0, 0, 1, 1);
            const radius = look.height * (0.2 + 0.04 * audio.bass);
            ctx.setTransform(dpr * radius, 0, 0, dpr * radius, (dpr * width) / 2, dpr * horizon);
            ctx.globalAlpha = look.dark ? 0.85 : 0.75;
            ctx.fillStyle = this.sunPaint;
            ctx.beginPath();
            for (let stripe = 0; stripe < SUN_STRIPES; stripe++) {
                const top = -1 + stripe / SUN_STRIPES;
                const gap = (0.25 * (stripe + 1)) / SUN_STRIPES / SUN_STRIPES;
                ctx.rect(-1, top, 2, 1 / SUN_STRIPES - gap);
            }
            ctx.save();
            ctx.clip();
            ctx.beginPath();
            ctx.arc(0, 0, 1, Math.PI, Math.PI * 2);
            ctx.fill();
            ctx.restore();
            ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
        }

        resize() {}

        pushRow(spectrum) {
            this.heights.copyWithin(COLUMNS, 0, (ROWS - 1) * COLUMNS);
            for (let column = 0; column < COLUMNS; column++) {
                // Mirrored across the middle: the lowest band sits at the centre column.
                this.heights[column] = mirroredBand(spectrum, 0.5 + column / (COLUMNS - 1) / 2 - 0.25);
            }
        }

        // Screen position of a grid point; row 0 is nearest.
        pointX(look, row, column) {
            const near = 1 - row / (ROWS - 1);
            // Wider than the window near by, so the floor reaches both edges.
            const spread = 0.5 + 1.9 * near * near;
            return look.width / 2 + (column / (COLUMNS - 1) - 0.5) * look.width * spread;
        }

        pointY(look, row, column, lift) {
            const near = 1 - row / (ROWS - 1);
            // The nearest rows rest below the frame and rise into it when loud, so a loud landscape
            // still reaches the bottom edge.
            const floor = look.height * (HORIZON + (NEAR_FLOOR - HORIZON) * Math.pow(near, 1.7));
            return floor - this.heights[row * COLUMNS + column] * look.height * lift * (0.25 + 0.75 * near);
        }

        draw(ctx, audio, look, seconds) {
            if (look.dark !== this.dark) this.buildPaint(look.dark);
            this.sinceRow += seconds;
            if (this.sinceRow >= ROW_SECONDS) {
                this.sinceRow = Math.min(this.sinceRow - ROW_SECONDS, ROW_SECONDS);
                this.pushRow(audio.spectrum);
            }
            beginFrame(ctx, look);
            this.drawSky(ctx, audio, look, look.height * HORIZON);
            const lift = 0.22 + 0.08 * audio.beat;
            const glow = look.dark && look.glow;
            ctx.lineJoin = "round";
            if (glow) ctx.globalCompositeOperation = "lighter";

            ctx.strokeStyle = this.columnPaint;
            ctx.lineWidth = 1;
            ctx.globalAlpha = 0.55;
            ctx.beginPath();
            for (let column = 0; column < COLUMNS; column++) {
                for (let row = ROWS - 1; row >= 0; row--) {
                    const x = this.pointX(look, row, column);
                    const y = this.pointY(look, row, column, lift);
                    if (row === ROWS - 1) ctx.moveTo(x, y);
                    else ctx.lineTo(x, y);
                }
            }
            ctx.stroke();

            ctx.strokeStyle = this.rowPaint;
            for (let row = ROWS - 1; row >= 0; row--) {
                const near = 1 - row / (ROWS - 1);
                ctx.globalAlpha = 0.2 + 0.8 * near;
                ctx.lineWidth = 0.8 + 1.6 * near * (0.5 + audio.level);
                ctx.beginPath();
                for (let column = 0; column < COLUMNS; column++) {
                    const x = this.pointX(look, row, column);
                    const y = this.pointY(look, row, column, lift);
                    if (column === 0) ctx.moveTo(x, y);
                    else ctx.lineTo(x, y);
                }
                ctx.stroke();
            }
            ctx.globalCompositeOperation = "source-over";
            ctx.globalAlpha = 1;
        }
    }

    Vimbo.skinCatalog.registerLook("Mesh", MeshSkin);
}
