"use strict";
// The full-window canvas: one requestAnimationFrame loop that smooths the latest audio frame and
// hands it to the current skin, and that stops while the page sleeps or nobody can see it.
{
    const MAX_PIXEL_RATIO = 2;
    const FALLBACK_FRAME_SECONDS = 1 / 60;

    class Renderer {
        constructor(canvas, frame, createSkin) {
            this.canvas = canvas;
            this.context = canvas.getContext("2d");
            this.frame = frame;
            this.createSkin = createSkin;
            this.audio = new Vimbo.audioFrame.SmoothedAudio();
            this.look = { dark: true, glow: true, glass: false, dpr: 1, width: 0, height: 0 };
            this.skins = new Map();
            this.skin = null;
            this.sleep = new Vimbo.pageSleep.PageSleep();
            this.lastTimestamp = 0;
            this.frameRequested = false;
            this.held = false;
            this.tick = this.tick.bind(this);
        }

        start() {
            this.resize();
            window.addEventListener("resize", () => this.resize());
            document.addEventListener("visibilitychange", () => this.wake());
            this.wake();
        }

        // Draws from the next frame on; a sleeping page draws one frame and sleeps again unless
        // there is sound.
        wake() {
            if (this.frameRequested) return;
            this.frameRequested = true;
            this.lastTimestamp = 0;
            requestAnimationFrame(this.tick);
        }

        // While held (a video export renders) the window's visuals stand still and leave it the CPU.
        hold(held) {
            this.held = held;
            if (!held) this.wake();
        }

        // A frame arrived from the native side.
        heard() {
            if (this.sleep.wakes(this.frame)) this.wake();
        }

        resize() {
            const dpr = Math.min(window.devicePixelRatio || 1, MAX_PIXEL_RATIO);
            const width = Math.max(1, window.innerWidth);
            const height = Math.max(1, window.innerHeight);
            this.canvas.width = Math.round(width * dpr);
            this.canvas.height = Math.round(height * dpr);
            Object.assign(this.look, { dpr, width, height });
            for (const skin of this.skins.values()) skin.resize(width, height);
            this.wake();
        }

        setSkin(id) {
            let skin = this.skins.get(id);
            if (!skin) {
                skin = this.createSkin(id);
                if (!skin) {
                    console.error("[vimbo] skin " + id + " has no look: its script is not loaded");
                    return;
                }
                skin.resize(this.look.width, this.look.height);
                this.skins.set(id, skin);
            }
            if (skin === this.skin) return;
            this.skin = skin;
            this.context.setTransform(1, 0, 0, 1, 0, 0);
            this.context.clearRect(0, 0, this.canvas.width, this.canvas.height);
            this.wake();
        }

        setLook(dark, glow, glass) {
            this.look.dark = dark;
            this.look.glow = glow;
            this.look.glass = glass;
            this.wake();
        }

        tick(timestamp) {
            const seconds = this.lastTimestamp > 0 ? (timestamp - this.lastTimestamp) / 1000 : FALLBACK_FRAME_SECONDS;
            this.lastTimestamp = timestamp;
            this.audio.follow(this.frame, seconds);
            if (this.skin) this.skin.draw(this.context, this.audio, this.look, seconds);
            const asleep = this.sleep.mayStop(this.frame, this.audio, seconds);
            this.frameRequested = !asleep && !document.hidden && !this.held;
            if (this.frameRequested) requestAnimationFrame(this.tick);
        }
    }

    Vimbo.define("Renderer", Renderer);
}
