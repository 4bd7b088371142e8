"use strict";
// Posting to the native side. In a plain browser (development) there is no handler: messages go
// to the console instead so the page still runs.
{
    function nativeHandler() {
        const handlers = window.webkit && window.webkit.messageHandlers;
        return handlers && handlers.app ? handlers.app : null;
    }

    function post(text) {
        const handler = nativeHandler();
        if (handler === null) {
            console.debug("[vimbo] " + text);
            return;
        }
        try {
            handler.postMessage(text);
        } catch (error) {
            console.warn("[vimbo] message not delivered: " + text, error);
        }
    }

    Vimbo.define("bridge", { post, isHosted: () => nativeHandler() !== null });
}
