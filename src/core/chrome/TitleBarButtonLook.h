#pragma once

#include "core/chrome/TitleBarLayout.h"
#include "core/platform/ChromeWindows.h"

namespace vimbo::chrome {

// An opaque colour, components 0 to 1.
struct Rgb {
    double red = 0;
    double green = 0;
    double blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// What a button shows right now.
struct TitleBarButtonState {
    bool windowActive = true; // the window has the focus and the application is active
    bool pressed = false;
    bool idleFading = false; // the mini light's dim fill while the page reports the pointer idle
    bool dark = false;       // the appearance the inactive grey follows
};

// The two fills of a round title-bar button: the outer oval in `rim`, the oval 0.5 inside it in `base`.
struct TitleBarButtonLook {
    Rgb base;
    Rgb rim;

    static TitleBarButtonLook of(TitleBarButton button, const TitleBarButtonState& state);
};

// The oval the button fills: its frame grown by 0.25 on every side.
platform::Rect buttonOval(const platform::Rect& frame);
// The mini light's glyph, a rounded square (corner radius 0.2 of its side) centred in `oval`, on
// whole pixels; drawn black at alpha 0.4 while the pointer is over the row.
platform::Rect miniLightGlyph(const platform::Rect& oval);
inline constexpr double kMiniLightGlyphAlpha = 0.4;

} // namespace vimbo::chrome
