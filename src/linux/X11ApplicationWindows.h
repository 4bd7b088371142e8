#pragma once

#include "core/platform/ApplicationWindows.h"

#include <xcb/xcb.h>

#include <memory>

namespace vimbo::linuxdesktop {

struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

// Top-level windows through the window manager's EWMH properties on an X server of its own connection
// (xcb, whose failures are values rather than exits). Without an X server (Wayland alone) it finds
// no windows.
class X11ApplicationWindows : public platform::ApplicationWindows {
  public:
    // All "vimbo.music". The connection opens on first use and again after it broke.
    std::optional<std::int32_t> frontmostProcess() override;
    std::vector<std::string> windowTitles(std::int32_t pid) override;

  private:
    struct Atoms {
        xcb_atom_t activeWindow, clientList, clientListStacking, pid, name, utf8String;
    };

    bool connect();
    std::optional<std::string> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type);
    std::vector<xcb_window_t> windows(xcb_atom_t list);
    std::optional<std::int32_t> processOf(xcb_window_t window);

    std::unique_ptr<xcb_connection_t, XcbDisconnect> connection_;
    xcb_window_t root_ = 0;
    Atoms atoms_{};
};

} // namespace vimbo::linuxdesktop
