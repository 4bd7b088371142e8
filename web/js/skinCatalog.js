"use strict";
// The one list of skins: their order in the menus, their names and the ids the native menus send
// and the settings store. The build reads SKIN_TABLE below as JSON to make the native menus' table,
// so it stays plain JSON (quoted keys, no comments inside).
{
    const SKIN_TABLE = [
        { "name": "Glossy", "id": 0 },
        { "name": "Contour", "id": 2 },
        { "name": "Bubble", "id": 6 },
        { "name": "Mesh", "id": 3 },
        { "name": "Dust", "id": 1 },
        { "name": "Dandelion", "id": 4 },
        { "name": "Parasite", "id": 5 },
        { "name": "Wake", "id": 7 }
    ];
    const SKINS = Object.freeze(SKIN_TABLE.map((skin) => Object.freeze(skin)));
    const looks = new Map();

    function skinPosition(id) {
        return SKINS.findIndex((skin) => skin.id === id);
    }

    function isSkinId(id) {
        return Number.isInteger(id) && skinPosition(id) >= 0;
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

    // How a skin joins the page. A skin is a class in its own file under js/skins/, listed in
    // index.html after paint.js (the drawing helpers it may use) and before renderer.js. The file
    // ends with `Vimbo.skinCatalog.registerLook(name, SkinClass)`, name being its SKIN_TABLE entry;
    // a new skin needs that file, its script tag and its SKIN_TABLE row, nothing else.
    // The renderer makes one instance the first time the skin is chosen and keeps it, so a skin may
    // hold its particles and paints between frames. It calls:
    //   new SkinClass()              no arguments; allocate here, draw nothing yet.
    //   resize(width, height)        the window's size in CSS pixels, before the first draw and on
    //                                every change while the skin exists (chosen or not).
    //   draw(ctx, audio, look, seconds)
    //                                one animation frame on the page's 2D context, whose state the
    //                                skin sets itself: paint.beginFrame clears the canvas and sets
    //                                CSS-pixel coordinates. audio: the smoothed features
    //                                (level, bass, mid, treble, energy, beat in 0…1, spectrum: 24
    //                                bands, motion: a phase that runs faster with louder sound).
    //                                look: { dark, glow, glass, dpr, width, height }. seconds: time
    //                                since the last frame.
    function registerLook(name, SkinClass) {
        if (!SKINS.some((skin) => skin.name === name)) throw new Error("no skin named " + name + " in the catalog");
        if (looks.has(name)) throw new Error("skin " + name + " registered twice");
        looks.set(name, SkinClass);
    }

    // The look of a catalog id, or null when its skin's file was not loaded.
    function createSkin(id) {
        const position = skinPosition(id);
        const SkinClass = position >= 0 ? looks.get(SKINS[position].name) : undefined;
        return SkinClass ? new SkinClass() : null;
    }

    Vimbo.define("skinCatalog", { SKINS, isSkinId, cycleSkin, registerLook, createSkin });
}
