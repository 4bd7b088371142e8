"use strict";
// The video export screen: audio files played back to back, a background, the skin, size and frame
// rate, the estimate, and the export's progress. The native side's "__export…" answers arrive here.
{
    const { SKINS } = Vimbo.skinCatalog;
    const plan = Vimbo.exportPlan;
    const sound = Vimbo.exportSound;
    const { ExportSession, marker } = Vimbo.exportSession;

    const secondsOf = (tracks) => tracks.reduce((sum, track) => sum + track.frames, 0) / sound.SAMPLE_RATE;

    class ExportScreen {
        // actions: post(text), previewSkin(id), modeChanged(), look() → { skin, dark, glow },
        // holdVisuals(held).
        constructor(root, actions) {
            this.root = root;
            this.actions = actions;
            this.tracks = [];
            this.adding = Promise.resolve();
            this.background = null;
            this.skin = 0;
            this.session = null;
            this.skinButtons = new Map();
            this.buildSkinChoices(root.querySelector("#exportSkins"));
            this.bindControls();
        }

        get isOpen() {
            return !this.root.hidden;
        }

        get running() {
            return this.session !== null;
        }

        open(message = "") {
            if (!this.isOpen) {
                this.skin = this.actions.look().skin;
                this.root.hidden = false;
                this.actions.modeChanged();
            }
            this.show(message, message !== "");
            this.actions.previewSkin(this.skin);
        }

        // Closing puts the page's own skin back; a running export is cancelled first.
        close() {
            if (!this.isOpen) return;
            if (this.session) this.session.cancel();
            this.root.hidden = true;
            this.actions.modeChanged();
        }

        buildSkinChoices(container) {
            for (const skin of SKINS) {
                const button = document.createElement("button");
                Object.assign(button, { type: "button", className: "skin-choice", textContent: skin.name });
                button.addEventListener("click", () => {
                    this.skin = skin.id;
                    this.actions.previewSkin(skin.id);
                    this.render();
                });
                container.appendChild(button);
                this.skinButtons.set(skin.id, button);
            }
        }

        bindControls() {
            const handlers = {
                pick: () => this.actions.post("export:pick"),
                "pick-background": () => this.actions.post("export:pick-background"),
                "clear-background": () => this.setBackground(null),
                start: () => this.start(),
                cancel: () => this.session && this.session.cancel(),
            };
            for (const button of this.root.querySelectorAll("[data-action]")) {
                button.addEventListener("click", handlers[button.dataset.action]);
            }
            this.root.querySelector("[data-close]").addEventListener("click", () => this.close());
            for (const input of this.root.querySelectorAll("input[type=radio]")) {
                input.addEventListener("change", () => this.render());
            }
            this.root.querySelector("#exportTracks").addEventListener("click", (event) => {
                const button = event.target instanceof Element ? event.target.closest("[data-remove]") : null;
                if (!button || this.running) return;
                this.tracks.splice(Number(button.dataset.remove), 1);
                this.render();
            });
        }

        choice(name) {
            return this.root.querySelector(`input[name=${name}]:checked`).value;
        }

        settings() {
            const { width, height } = plan.SIZES[this.choice("exportSize")];
            return { width, height, fps: Number(this.choice("exportRate")) };
        }

        // Files are added in the order they come, however long each takes to decode.
        addFile(data, name) {
            this.adding = this.adding.then(async () => {
                try {
                    this.tracks.push({ name, ...(await sound.fileTrack(data)) });
                    this.show("", false);
                } catch (error) {
                    this.show(`“${name}” could not be read as audio.`, true);
                }
                this.render();
            });
            return this.adding;
        }

        async setBackground(picked) {
            if (picked === null) {
                this.background = null;
            } else {
                try {
                    const bytes = plan.bytesOf(picked.data);
                    const image = await createImageBitmap(new Blob([bytes], { type: picked.type }));
                    this.background = { name: picked.name, image };
                } catch (error) {
                    this.show(`“${picked.name}” could not be read as an image.`, true);
                }
            }
            this.render();
        }

        show(message, failed) {
            const element = this.root.querySelector("#exportMessage");
            element.textContent = message;
            element.classList.toggle("failed", failed);
        }

        render() {
            const list = this.root.querySelector("#exportTracks");
            list.replaceChildren(...this.tracks.map((track, index) => {
                const item = document.createElement("li");
                item.innerHTML = '<span></span><span class="duration"></span>' +
                    `<button type="button" class="close" data-remove="${index}" aria-label="Remove">✕</button>`;
                item.children[0].textContent = track.name;
                item.children[1].textContent = plan.formatDuration(track.frames / sound.SAMPLE_RATE);
                return item;
            }));
            this.root.querySelector("#exportBackground").textContent = this.background ? this.background.name : "None";
            for (const [id, button] of this.skinButtons) button.setAttribute("aria-pressed", String(id === this.skin));
            const seconds = secondsOf(this.tracks);
            const { width, height, fps } = this.settings();
            this.root.querySelector("#exportEstimate").textContent = seconds > 0
                ? `${plan.formatDuration(seconds)} of audio · about ${plan.formatBytes(plan.estimateBytes(seconds, width, height, fps))}`
                : "Add audio files to make a video of them.";
            for (const set of this.root.querySelectorAll("[data-settings]")) set.disabled = this.running;
            this.root.querySelector("[data-action=start]").disabled = this.running || this.tracks.length === 0;
            this.root.querySelector("[data-action=start]").hidden = this.running;
            this.root.querySelector("[data-action=cancel]").hidden = !this.running;
            this.root.querySelector("#exportProgress").hidden = !this.running;
        }

        progress(fraction, startedAt) {
            this.root.querySelector("#exportProgress progress").value = fraction;
            const left = plan.timeLeft((performance.now() - startedAt) / 1000, fraction);
            this.root.querySelector("#exportProgressText").textContent = Math.floor(fraction * 100) + " %" +
                (left === null ? "" : ` · about ${plan.formatDuration(left)} left`);
        }

        async start() {
            if (this.running || this.tracks.length === 0) return;
            await this.export([...this.tracks], this.settings(), plan.fileName(this.tracks.map((track) => track.name)));
        }

        // Runs one export of the sound's `tracks` (see exportSound) and reports its outcome on the
        // screen; resolves to the outcome.
        async export(tracks, { width, height, fps }, name) {
            const { dark, glow } = this.actions.look();
            const job = { tracks, seconds: secondsOf(tracks), width, height, fps, name, skin: this.skin, dark, glow,
                background: this.background ? this.background.image : null };
            this.session = new ExportSession(this.actions.post, Vimbo.exportVideo.encodeExport);
            this.render();
            this.show("", false);
            const startedAt = performance.now();
            let result;
            this.actions.holdVisuals(true);
            try {
                result = await this.session.run(job, (fraction) => this.progress(fraction, startedAt));
            } finally {
                this.session = null;
                this.actions.holdVisuals(false);
            }
            const texts = { saved: "The video was saved.", cancelled: "", failed: result.message };
            this.show(texts[result.outcome], result.outcome === "failed");
            this.render();
            return result;
        }

        deliver(kind, value) {
            if (this.session) this.session.deliver(kind, value);
        }

        writeFailed(message) {
            if (this.session) this.session.writeFailed(message);
        }

        // After a reload: an export that was running when the web process died has failed.
        reportCrashedExport() {
            if (!marker.take()) return;
            this.actions.post("export:cancel");
            this.open("The export failed: the page stopped while making the video. Try again, perhaps at a smaller size.");
        }
    }

    Vimbo.define("ExportScreen", ExportScreen);
}
