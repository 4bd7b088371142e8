"use strict";
// Dust: a cloud of motes drifting on a slow current, stirred by the energy, thrown outwards by
// beats, each mote sized by the spectrum band it listens to.
{
    const { hsla, glowSprite, drawGlow } = Vimbo.paint;
    const MOTES = 720;
    const HOME_PULL = 0.22; // per second
    const CLOUD_RADIUS = 0.4; // of the smaller side; the cloud is wider than tall
    const CLOUD_STRETCH = 1.35;
    const GROUPS = 3; // bass, mid and treble motes, drawn per group to change paint only 3 times
    const GROUP_BANDS = [
        [0, 6],
        [6, 14],
        [14, 24],
    ];

    class DustSkin {
        constructor() {
            this.x = new Float32Array(MOTES);
            this.y = new Float32Array(MOTES);
            this.band = new Uint8Array(MOTES);
            // Each mote's resting place in a round cloud, denser in the middle, in units of the
            // cloud's radius: silence gathers the motes back into it, whatever shape beats left.
            this.homeX = new Float32Array(MOTES);
            this.homeY = new Float32Array(MOTES);
            this.width = 0;
            this.height = 0;
            this.dark = null;
            for (let i = 0; i < MOTES; i++) {
                const group = Math.floor((i * GROUPS) / MOTES);
                const [low, high] = GROUP_BANDS[group];
                this.band[i] = low + (i % (high - low));
                const angle = Math.random() * 6.2832;
                const distance = Math.min(1, Math.sqrt(-Math.log(1 - Math.random() * 0.95)) / 1.73);
                this.homeX[i] = Math.cos(angle) * distance;
                this.homeY[i] = Math.sin(angle) * distance;
            }
        }

        buildPaint(dark) {
            this.dark = dark;
            this.groupPaint = dark
                ? [hsla(28, 95, 62), hsla(330, 80, 70), hsla(190, 90, 72)]
                : [hsla(18, 85, 42), hsla(320, 70, 40), hsla(205, 85, 35)];
            this.leaderGlow = glowSprite(hsla(35, 100, 65, 1));
        }

        // The cloud's size in pixels for the current window.
        cloud(width, height) {
            const radius = CLOUD_RADIUS * Math.min(width, height);
            return { rx: Math.min(width * 0.45, radius * CLOUD_STRETCH), ry: radius };
        }

        resize(width, height) {
            if (this.width === 0) {
                const { rx, ry } = this.cloud(width, height);
                for (let i = 0; i < MOTES; i++) {
                    this.x[i] = width / 2 + this.homeX[i] * rx;
                    this.y[i] = height / 2 + this.homeY[i] * ry;
                }
            } else {
                // Keep the cloud's shape when the window changes size.
                const sx = width / this.width;
                const sy = height / this.height;
                for (let i = 0; i < MOTES; i++) {
                    this.x[i] *= sx;
                    this.y[i] *= sy;
                }
            }
            this.width = width;
            this.height = height;
        }

        draw(ctx, audio, look, seconds) {
            if (look.dark !== this.dark) this.buildPaint(look.dark);
            const { width, height, dpr } = look;
            const dt = Math.min(0.05, seconds);
            ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
            // Fade the previous frame towards transparent: trails without a second canvas, and the
            // page background (or the glass behind it) shows through.
            ctx.globalCompositeOperation = "destination-out";
            ctx.globalAlpha = 0.16 + 0.2 * (1 - audio.energy);
            ctx.fillStyle = "#000";
            ctx.fillRect(0, 0, width, height);

            const glow = look.dark && look.glow;
            ctx.globalCompositeOperation = glow ? "lighter" : "source-over";
            ctx.globalAlpha = look.dark ? 0.9 : 0.75;
            const t = audio.motion;
            const cx = width / 2;
            const cy = height / 2;
            const { rx, ry } = this.cloud(width, height);
            const speed = 14 + 240 * audio.energy;
            const burst = 520 * audio.beat * audio.beat;
            const x = this.x;
            const y = this.y;

            for (let group = 0; group < GROUPS; group++) {
                ctx.fillStyle = this.groupPaint[group];
                const first = Math.floor((group * MOTES) / GROUPS);
                const last = Math.floor(((group + 1) * MOTES) / GROUPS);
                for (let i = first; i < last; i++) {
                    const value = audio.spectrum[this.band[i]];
                    const angle = Math.sin(x[i] * 0.0043 + t + group) * Math.cos(y[i] * 0.0037 - t * 0.7) * 6.2832;
                    const pace = speed * (0.35 + value);
                    let vx = Math.cos(angle) * pace;
                    let vy = Math.sin(angle) * pace;
                    const dx = x[i] - cx;
                    const dy = y[i] - cy;
                    const distance = Math.sqrt(dx * dx + dy * dy) + 1;
                    const homeX = cx + this.homeX[i] * rx;
                    const homeY = cy + this.homeY[i] * ry;
                    // A gentle pull back home keeps the cloud gathered; beats scatter it outwards.
                    vx += (dx / distance) * burst + (homeX - x[i]) * HOME_PULL;
                    vy += (dy / distance) * burst + (homeY - y[i]) * HOME_PULL;
                    let nx = x[i] + vx * dt;
                    let ny = y[i] + vy * dt;
                    // Blown out of the frame, a mote comes back in at its place in the cloud.
                    if (nx < 0 || nx >= width || ny < 0 || ny >= height) {
                        nx = homeX;
                        ny = homeY;
                    }
                    x[i] = nx;
                    y[i] = ny;
                    const size = 1.6 + (group === 0 ? 4 : 3) * value;
                    ctx.fillRect(nx - size / 2, ny - size / 2, size, size);
                }
            }

            if (glow) {
                // A few leading motes carry a halo that swells with the bass.
                ctx.globalAlpha = 0.18 + 0.5 * audio.bass;
                const radius = 10 + 34 * audio.bass;
                for (let i = 0; i < MOTES; i += 36) {
                    drawGlow(ctx, this.leaderGlow, x[i], y[i], radius);
                }
            }
            ctx.globalCompositeOperation = "source-over";
            ctx.globalAlpha = 1;
        }
    }

    Vimbo.skinCatalog.registerLook("Dust", DustSkin);
}
