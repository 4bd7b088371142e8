"use strict";
// Capture status strings from the native side, in words a person understands.
{
    const MAX_SHOWN_UNKNOWN = 40;

    // tone "quiet" is shown discreetly and fades; "warning" stays until the status changes.
    function captureStatusText(status, input) {
        switch (status) {
            case null:
            case undefined:
                return { text: "", tone: "quiet" };
            case "ok":
                return {
                    text: input === "microphone" ? "Listening to the microphone" : "Listening to system audio",
                    tone: "quiet",
                };
            case "waiting-system-permission":
                return {
                    text: "System audio could not be captured yet — waiting for a sound server…",
                    tone: "warning",
                };
            case "waiting-microphone-permission":
                return { text: "Waiting for permission to use the microphone…", tone: "warning" };
            case "microphone-unavailable":
                return { text: "No microphone is available", tone: "warning" };
            default: {
                const shown = String(status).slice(0, MAX_SHOWN_UNKNOWN);
                return { text: "Audio capture reported an unknown state: " + shown, tone: "warning" };
            }
        }
    }

    Vimbo.define("statusText", { captureStatusText });
}
