"use strict";
// The settings panel: source, microphone sensitivity, skin and display switches. It only reports
// what the user did; the page decides and calls render() with the result.
{
    const { SKINS } = Vimbo.skinCatalog;
    const { DISPLAY_SETTINGS } = Vimbo.settings;
    const sensitivity = Vimbo.sensitivity;
    const SENSITIVITY_SEND_MILLISECONDS = 120;

    class SettingsPanel {
        constructor(root, actions) {
            this.root = root;
            this.actions = actions;
            this.slider = root.querySelector("#sensitivity");
            this.sliderValue = root.querySelector("#sensitivityValue");
            this.sliding = false;
            this.lastSent = NaN;
            this.lastSentAt = -Infinity;
            this.slider.max = String(sensitivity.SLIDER_MAX);
            this.skinButtons = new Map();
            this.buildSkinChoices(root.querySelector("#skinChoices"));
            this.bindControls();
        }

        buildSkinChoices(container) {
            for (const skin of SKINS) {
                const button = document.createElement("button");
                button.type = "button";
                button.className = "skin-choice";
                button.textContent = skin.name;
                button.addEventListener("click", () => this.actions.selectSkin(skin.id));
                container.appendChild(button);
                this.skinButtons.set(skin.id, button);
            }
        }

        bindControls() {
            for (const radio of this.root.querySelectorAll("input[name=audioInput]")) {
                radio.addEventListener("change", () => {
                    if (radio.checked) this.actions.selectInput(radio.value);
                });
            }
            // Each value sent is stored by the native side, so a drag sends a few values a second
            // and the one it ends on, not one per pixel.
            this.slider.addEventListener("input", () => {
                this.sliding = true;
                const value = sensitivity.sliderToSensitivity(this.slider.value);
                this.sliderValue.textContent = sensitivity.formatSensitivity(value);
                const now = performance.now();
                if (now - this.lastSentAt >= SENSITIVITY_SEND_MILLISECONDS) this.sendSensitivity(value, now);
            });
            this.slider.addEventListener("change", () => {
                this.sliding = false;
                this.sendSensitivity(sensitivity.sliderToSensitivity(this.slider.value), performance.now());
            });
            for (const box of this.root.querySelectorAll("input[data-setting]")) {
                box.addEventListener("change", () => this.actions.setDisplay(box.dataset.setting, box.checked));
            }
            this.root.querySelector("#openShortcuts").addEventListener("click", () => this.actions.showShortcuts());
            this.root.querySelector("[data-close]").addEventListener("click", () => this.close());
        }

        sendSensitivity(value, now) {
            this.lastSentAt = now;
            if (value === this.lastSent) return;
            this.lastSent = value;
            this.actions.setSensitivity(value);
        }

        get isOpen() {
            return !this.root.hidden;
        }

        open() {
            this.root.hidden = false;
            this.root.querySelector("input[name=audioInput]:checked, input[name=audioInput]").focus({ preventScroll: true });
            this.actions.layoutChanged();
        }

        close() {
            if (this.root.hidden) return;
            this.root.hidden = true;
            this.actions.layoutChanged();
        }

        render(view) {
            for (const radio of this.root.querySelectorAll("input[name=audioInput]")) {
                radio.checked = radio.value === view.input;
            }
            // The gain applies to the microphone only; with system audio the control would do nothing.
            this.root.querySelector("#sensitivityGroup").disabled = view.input !== "microphone";
            if (!this.sliding) {
                this.lastSent = view.sensitivity;
                this.slider.value = String(sensitivity.sensitivityToSlider(view.sensitivity));
                this.sliderValue.textContent = sensitivity.formatSensitivity(view.sensitivity);
            }
            for (const [id, button] of this.skinButtons) {
                button.setAttribute("aria-pressed", String(id === view.settings.skin));
            }
            for (const name of DISPLAY_SETTINGS) {
                const box = this.root.querySelector(`input[data-setting=${name}]`);
                box.checked = view.settings[name];
            }
            // Glow only shows against the dark background, as in the native menu.
            this.root.querySelector("input[data-setting=glow]").disabled = !view.settings.dark;
        }
    }

    Vimbo.define("SettingsPanel", SettingsPanel);
}
