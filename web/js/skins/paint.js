"use strict";
// Drawing helpers shared by the skins.
{
    const SPRITE_SIZE = 64;
    const sprites = new Map();

    // Soft round sprites drawn additively for glow: a canvas blur or shadowBlur per shape is far
    // too slow on software rendering, a pre-rendered gradient blitted with drawImage is cheap.
    // The colour is an rgba() or hsla() text whose last number is the alpha.
    function glowSprite(color) {
        let sprite = sprites.get(color);
        if (sprite) return sprite;
        sprite = document.createElement("canvas");
        sprite.width = SPRITE_SIZE;
        sprite.height = SPRITE_SIZE;
        const ctx = sprite.getContext("2d");
        const middle = SPRITE_SIZE / 2;
        const gradient = ctx.createRadialGradient(middle, middle, 0, middle, middle, middle);
        gradient.addColorStop(0, color);
        gradient.addColorStop(0.35, color.replace(/[\d.]+\)$/, "0.35)"));
        gradient.addColorStop(1, color.replace(/[\d.]+\)$/, "0)"));
        ctx.fillStyle = gradient;
        ctx.fillRect(0, 0, SPRITE_SIZE, SPRITE_SIZE);
        sprites.set(color, sprite);
        return sprite;
    }

    // Draws the sprite centred on (x, y) with the given radius; the caller sets composite and alpha.
    function drawGlow(ctx, sprite, x, y, radius) {
        ctx.drawImage(sprite, x - radius, y - radius, radius * 2, radius * 2);
    }

    function hsla(hue, saturation, lightness, alpha = 1) {
        return `hsla(${((hue % 360) + 360) % 360},${saturation}%,${lightness}%,${alpha})`;
    }

    // CSS-pixel coordinates, ordinary painting, and an empty (transparent) canvas: the page
    // background or the glass behind the window shows through.
    function beginFrame(ctx, look) {
        ctx.setTransform(look.dpr, 0, 0, look.dpr, 0, 0);
        ctx.globalCompositeOperation = "source-over";
        ctx.globalAlpha = 1;
        ctx.clearRect(0, 0, look.width, look.height);
    }

    // Spectrum value at a fraction 0…1 around a circle, mirrored so the ends meet without a seam.
    function mirroredBand(spectrum, fraction) {
        const count = spectrum.length;
        const position = Math.abs(((fraction % 1) + 1) % 1 - 0.5) * 2 * (count - 1);
        const low = Math.floor(position);
        const high = Math.min(count - 1, low + 1);
        const mix = position - low;
        return spectrum[low] * (1 - mix) + spectrum[high] * mix;
    }

    Vimbo.define("paint", { glowSprite, drawGlow, hsla, beginFrame, mirroredBand });
}
