#pragma once

namespace vimbo::chrome {

// How visible the title-bar buttons (and the mini light) are. Faded buttons keep a trace of alpha so
// that they stay present and still take the pointer.
struct TitleBarButtonFade {
    static constexpr double kShownAlpha = 1.0;
    static constexpr double kHiddenAlpha = 0.0001;
    // The idle fade; focus changes apply at once.
    static constexpr double kIdleFadeSeconds = 0.2;

    // In the mini player the buttons show only while it has the focus, idle or not; in the main
    // window they hide only while the page reports the pointer idle.
    static constexpr double alpha(bool mini, bool targetFocused, bool chromeIdle) {
        bool hidden = mini ? !targetFocused : chromeIdle;
        return hidden ? kHiddenAlpha : kShownAlpha;
    }
};

} // namespace vimbo::chrome
