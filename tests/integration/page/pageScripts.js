"use strict";
// Loads page scripts the way index.html does, in the order given, and returns what they defined.
require("../../../web/js/vimbo.js");

module.exports = (...files) => {
    for (const file of files) require("../../../web/js/" + file);
    return globalThis.Vimbo;
};
