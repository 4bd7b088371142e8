#pragma once

#include "core/nowplaying/BrowserTitle.h"
#include "core/platform/DefaultsStore.h"

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

// What a browser plays, found on this desktop: its sound through the sound server, its windows through
// X11, its media session and tabs through the session and accessibility buses, and the request to turn
// accessibility on as a notification. The callable owns everything it uses; `defaults` must outlive it.
nowplaying::BrowserTitle desktopBrowserTitle(GDBusConnection* sessionBus, platform::DefaultsStore& defaults);

} // namespace vimbo::linuxdesktop
