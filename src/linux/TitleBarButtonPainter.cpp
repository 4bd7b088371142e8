#include "linux/TitleBarButtonPainter.h"

#include "linux/CairoPaths.h"

#include <cmath>

namespace vimbo::linuxdesktop {
namespace {

void fillOval(cairo_t* cr, const platform::Rect& r, const chrome::Rgb& colour) {
    cairo_save(cr);
    cairo_translate(cr, r.x + r.width / 2, r.y + r.height / 2);
    cairo_scale(cr, r.width / 2, r.height / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
    cairo_fill(cr);
}

// The standard buttons' glyphs: a cross, a bar and a plus, a quarter of the oval from its centre.
void strokeGlyph(cairo_t* cr, chrome::TitleBarButton button, const platform::Rect& oval) {
    double cx = oval.x + oval.width / 2;
    double cy = oval.y + oval.height / 2;
    double arm = oval.width * 0.25;
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (button == chrome::TitleBarButton::close) {
        cairo_move_to(cr, cx - arm, cy - arm);
        cairo_line_to(cr, cx + arm, cy + arm);
        cairo_move_to(cr, cx + arm, cy - arm);
        cairo_line_to(cr, cx - arm, cy + arm);
    } else {
        cairo_move_to(cr, cx - arm, cy);
        cairo_line_to(cr, cx + arm, cy);
        if (button == chrome::TitleBarButton::zoom) {
            cairo_move_to(cr, cx, cy - arm);
            cairo_line_to(cr, cx, cy + arm);
        }
    }
    cairo_stroke(cr);
}

} // namespace

void paintTitleBarButton(cairo_t* cr, chrome::TitleBarButton button, const platform::Rect& frame,
                         const chrome::TitleBarButtonState& state, bool rowHovered) {
    auto look = chrome::TitleBarButtonLook::of(button, state);
    platform::Rect oval = chrome::buttonOval(frame);
    fillOval(cr, oval, look.rim);
    fillOval(cr, {oval.x + 0.5, oval.y + 0.5, oval.width - 1, oval.height - 1}, look.base);
    if (!rowHovered) return;
    if (button != chrome::TitleBarButton::miniLight) {
        strokeGlyph(cr, button, oval);
        return;
    }
    platform::Rect glyph = chrome::miniLightGlyph(oval);
    cairo_set_source_rgba(cr, 0, 0, 0, chrome::kMiniLightGlyphAlpha);
    roundedRectPath(cr, glyph, glyph.width * 0.2);
    cairo_fill(cr);
}

} // namespace vimbo::linuxdesktop
