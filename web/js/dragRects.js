"use strict";
// Which parts of the native drag strip must pass clicks through to the page's controls.
{
    const DRAG_BAR_HEIGHT = 36;

    function isUsableBox(box) {
        return (
            box !== null &&
            typeof box === "object" &&
            [box.left, box.top, box.width, box.height].every(Number.isFinite) &&
            box.width > 0 &&
            box.height > 0
        );
    }

    // Boxes are element rectangles in CSS pixels from the window's top-left. Only the part inside
    // the strip matters; edges are rounded outwards so a control is never partly draggable.
    function dragThroughRects(boxes, stripHeight = DRAG_BAR_HEIGHT) {
        const rects = [];
        for (const box of boxes) {
            if (!isUsableBox(box)) continue;
            const top = Math.max(0, box.top);
            const bottom = Math.min(stripHeight, box.top + box.height);
            if (bottom <= top) continue;
            const x = Math.floor(box.left);
            const y = Math.floor(top);
            const width = Math.ceil(box.left + box.width) - x;
            const height = Math.ceil(bottom) - y;
            if (width > 0 && height > 0) rects.push([x, y, width, height]);
        }
        return rects;
    }

    function dragThroughMessage(rects) {
        return "dragThrough:" + JSON.stringify(rects);
    }

    Vimbo.define("dragRects", { DRAG_BAR_HEIGHT, dragThroughRects, dragThroughMessage });
}
