"use strict";
// Soft round sprites drawn additively for glow: a canvas blur or shadowBlur per shape is far too
// slow on software rendering, a pre-rendered gradient blitted with drawImage is cheap.
(function () {
    const SIZE = 64;
    const cache = new Map();

    function glowSprite(color) {
        let sprite = cache.get(color);
        if (sprite) return sprite;
        sprite = document.createElement("canvas");
        sprite.width = SIZE;
        sprite.height = SIZE;
        const ctx = sprite.getContext("2d");
        const gradient = ctx.createRadialGradient(SIZE / 2, SIZE / 2, 0, SIZE / 2, SIZE / 2, SIZE / 2);
        gradient.addColorStop(0, color);
        gradient.addColorStop(0.35, color.replace(/[\d.]+\)$/, "0.35)"));
        gradient.addColorStop(1, color.replace(/[\d.]+\)$/, "0)"));
        ctx.fillStyle = gradient;
        ctx.fillRect(0, 0, SIZE, SIZE);
        cache.set(color, sprite);
        return sprite;
    }

    // Draws the sprite centred on (x, y) with the given radius; the caller sets composite and alpha.
    function drawGlow(ctx, sprite, x, y, radius) {
        ctx.drawImage(sprite, x - radius, y - radius, radius * 2, radius * 2);
    }

    const skins = ((window.Vimbo = window.Vimbo || {}).skins = window.Vimbo.skins || {});
    skins.glowSprite = glowSprite;
    skins.drawGlow = drawGlow;
})();
