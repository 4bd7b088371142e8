"use strict";
// The page's one registration point, loaded before every other script. Each script keeps its
// names in a block of its own and hands what it offers to Vimbo.define(name, api); scripts loaded
// after it (index.html gives the order) read it back as Vimbo[name]. The Node tests load the same
// files through require(), this one first.
//
// Why not ES modules: WebKit fetches module scripts with cross-origin checks, which a page from a
// file address only passes while it may read files by script, and the page is kept from that.
{
    const Vimbo = {
        define(name, api) {
            if (Object.hasOwn(Vimbo, name)) throw new Error("Vimbo." + name + " is defined twice");
            Vimbo[name] = api;
        },
    };
    globalThis.Vimbo = Vimbo;
}
