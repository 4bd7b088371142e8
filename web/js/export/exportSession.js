"use strict";
// One export's conversation with the native side: ask where to save (with the estimate), begin,
// stream the file in chunks, finish and wait for the verdict; or cancel, or report the failure.
// The encoder is handed in, so the order of messages holds whatever produces the bytes.
{
    const { saveMessage, chunkMessages, estimateBytes } = Vimbo.exportPlan;
    const RUNNING_KEY = "vimbo.exportRunning";

    // Stopping an export from outside: `stop(reason)` makes the running loop throw that reason.
    class ExportStop {
        constructor() {
            this.reason = null;
        }
        stop(reason) {
            if (this.reason === null) this.reason = reason;
        }
        check() {
            if (this.reason !== null) throw this.reason;
        }
    }

    class Cancelled {}
    class WriteFailed {
        constructor(message) {
            this.message = message;
        }
    }

    // Where the page notes a running export: after a web process crash the reloaded page finds it.
    // Session storage dies with WebKitGTK's web process; local storage is kept by the network process.
    const marker = {
        set() {
            try {
                window.localStorage.setItem(RUNNING_KEY, "1");
            } catch (error) {
                // No storage: a crash then goes unreported, the export itself is unaffected.
            }
        },
        // True once if an export was running when the page went away.
        take() {
            try {
                const found = window.localStorage.getItem(RUNNING_KEY) !== null;
                window.localStorage.removeItem(RUNNING_KEY);
                return found;
            } catch (error) {
                return false;
            }
        },
    };

    function errorText(error) {
        return error instanceof Error ? error.message : String(error);
    }

    class ExportSession {
        // encode(job, { write, progress, stop }) returns a promise; stop is an ExportStop.
        constructor(post, encode) {
            this.post = post;
            this.encode = encode;
            this.stop = new ExportStop();
            this.waiting = null;
        }

        // Resolves to { outcome: "saved" | "cancelled" | "failed", message }.
        async run(job, progress) {
            const { seconds, width, height, fps, name } = job;
            const estimate = estimateBytes(seconds, width, height, fps);
            this.post(saveMessage(estimate, name));
            const destination = await this.answer("destination");
            if (!destination.ok) return { outcome: destination.message ? "failed" : "cancelled", message: destination.message };
            this.post("export:begin");
            marker.set();
            try {
                await this.encode(job, { write: (bytes, position) => this.write(bytes, position), progress, stop: this.stop });
            } catch (reason) {
                return this.stopped(reason);
            } finally {
                marker.take();
            }
            this.post("export:finish");
            const saved = await this.answer("saved");
            return saved.ok ? { outcome: "saved", message: "" } : { outcome: "failed", message: "The video could not be saved." };
        }

        write(bytes, position) {
            if (this.stop.reason === null) chunkMessages(bytes, position).forEach(this.post);
        }

        stopped(reason) {
            if (reason instanceof Cancelled) {
                this.post("export:cancel");
                return { outcome: "cancelled", message: "" };
            }
            if (reason instanceof WriteFailed) {
                this.post("export:cancel");
                return { outcome: "failed", message: reason.message };
            }
            const text = errorText(reason);
            this.post("export:error:" + encodeURIComponent(text));
            this.post("export:cancel");
            return { outcome: "failed", message: "The video could not be made: " + text };
        }

        answer(kind) {
            return new Promise((resolve) => (this.waiting = { kind, resolve }));
        }

        // The native side's answers; one that nothing waits for is dropped.
        deliver(kind, value) {
            if (this.waiting === null || this.waiting.kind !== kind) return;
            const { resolve } = this.waiting;
            this.waiting = null;
            resolve(value);
        }

        cancel() {
            this.stop.stop(new Cancelled());
        }

        writeFailed(message) {
            this.stop.stop(new WriteFailed(message));
        }
    }

    Vimbo.define("exportSession", { ExportSession, marker });
}
