"use strict";
// Mesh: a wireframe landscape flying towards the viewer; each new row is the spectrum of the
// moment, bass in the middle, so the recent past stretches away to the horizon.
{
    const { hsla, beginFrame, mirroredBand } = Vimbo.paint;
    const ROWS = 26;
    const COLUMNS = 25;
    const ROW_SECONDS = 1 / 24;

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
            const spread = 0.18 + 1.05 * near * near;
            return look.width / 2 + (column / (COLUMNS - 1) - 0.5) * look.width * spread;
        }

        pointY(look, row, column, lift) {
            const near = 1 - row / (ROWS - 1);
            const floor = look.height * (0.42 + 0.55 * Math.pow(near, 1.7));
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
