"use strict";
// The shortcut catalog the native side sends, checked and reduced to what the sheet lists.
{
    function isText(value) {
        return typeof value === "string" && value.length > 0;
    }

    function sheetRow(row) {
        if (row === null || typeof row !== "object" || !isText(row.title)) return null;
        const keys = Array.isArray(row.keys) ? row.keys.filter(isText) : [];
        return { title: row.title, keys };
    }

    function sheetSection(section) {
        if (section === null || typeof section !== "object" || !isText(section.title)) return null;
        const rows = Array.isArray(section.rows) ? section.rows.map(sheetRow).filter(Boolean) : [];
        return rows.length > 0 ? { title: section.title, rows } : null;
    }

    // Malformed parts are left out rather than failing the whole sheet; a catalog that is not an
    // array at all gives an empty sheet.
    function shortcutSheetModel(catalog) {
        const sections = Array.isArray(catalog) ? catalog.map(sheetSection).filter(Boolean) : [];
        const rowCount = sections.reduce((sum, section) => sum + section.rows.length, 0);
        return { sections, rowCount };
    }

    Vimbo.define("shortcutSheet", { shortcutSheetModel });
}
