"use strict";
// The keyboard shortcut sheet, filled from the catalog the native side sends.
{
    class ShortcutOverlay {
        constructor(root, onLayoutChanged) {
            this.root = root;
            this.list = root.querySelector("#shortcutSections");
            this.onLayoutChanged = onLayoutChanged;
            root.querySelector("[data-close]").addEventListener("click", () => this.close());
            root.addEventListener("click", (event) => {
                if (event.target === root) this.close();
            });
        }

        get isOpen() {
            return !this.root.hidden;
        }

        // Labels are shown exactly as given: they match the menus of the desktop Vimbo runs on.
        render(model) {
            this.list.replaceChildren();
            this.list.classList.toggle("empty", model.sections.length === 0);
            if (model.sections.length === 0) {
                const empty = document.createElement("p");
                empty.className = "sheet-empty";
                empty.textContent = "No shortcuts";
                this.list.appendChild(empty);
                return;
            }
            for (const section of model.sections) {
                const block = document.createElement("section");
                const heading = document.createElement("h3");
                heading.textContent = section.title;
                block.appendChild(heading);
                const table = document.createElement("dl");
                for (const row of section.rows) {
                    const title = document.createElement("dt");
                    title.textContent = row.title;
                    const keys = document.createElement("dd");
                    row.keys.forEach((label, index) => {
                        if (index > 0) keys.appendChild(document.createTextNode(" or "));
                        const key = document.createElement("kbd");
                        key.textContent = label;
                        keys.appendChild(key);
                    });
                    table.append(title, keys);
                }
                block.appendChild(table);
                this.list.appendChild(block);
            }
        }

        open() {
            this.root.hidden = false;
            this.root.querySelector("[data-close]").focus({ preventScroll: true });
            this.onLayoutChanged();
        }

        close() {
            if (this.root.hidden) return;
            this.root.hidden = true;
            this.onLayoutChanged();
        }
    }

    Vimbo.define("ShortcutOverlay", ShortcutOverlay);
}
