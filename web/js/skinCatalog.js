"use strict";
// The page's skins in menu order, with the ids the native menus send. Loaded as a classic script
// (global Vimbo.skinCatalog) by the page and through require() by the Node tests.
(function (exportApi) {
    const SKINS = Object.freeze([
        Object.freeze({ name: "Glossy", id: 0 }),
        Object.freeze({ name: "Contour", id: 2 }),
        Object.freeze({ name: "Bubble", id: 6 }),
        Object.freeze({ name: "Mesh", id: 3 }),
        Object.freeze({ name: "Dust", id: 1 }),
        Object.freeze({ name: "Dandelion", id: 4 }),
        Object.freeze({ name: "Parasite", id: 5 }),
        Object.freeze({ name: "Wake", id: 7 }),
    ]);

    function skinPosition(id) {
        return SKINS.findIndex((skin) => skin.id === id);
    }

    function isSkinId(id) {
        return Number.isInteger(id) && skinPosition(id) >= 0;
    }

    function skinName(id) {
        const position = skinPosition(id);
        return position >= 0 ? SKINS[position].name : "";
    }

    // Steps through the menu order (not the id order), wrapping at both ends. An unknown current
    // id counts as sitting just before the first skin, so "next" lands on Glossy.
    function cycleSkin(id, step) {
        if (!Number.isInteger(step)) return isSkinId(id) ? id : SKINS[0].id;
        const count = SKINS.length;
        const position = skinPosition(id);
        const from = position >= 0 ? position : step > 0 ? -1 : 0;
        const next = (((from + step) % count) + count) % count;
        return SKINS[next].id;
    }

    exportApi("skinCatalog", { SKINS, isSkinId, skinName, cycleSkin });
})(
    typeof module === "object" && module.exports
        ? (name, api) => { module.exports = api; }
        : (name, api) => { (globalThis.Vimbo = globalThis.Vimbo || {})[name] = api; }
);
