#pragma once

#include "core/platform/MediaSessionTitles.h"
#include "linux/GLibOwners.h"

#include <gio/gio.h>

namespace vimbo::linuxdesktop {

// Browsers publish the page playing as an MPRIS player of their main process; its track title
// names the page better than any window.
class MprisMediaSessionTitles : public platform::MediaSessionTitles {
  public:
    explicit MprisMediaSessionTitles(GDBusConnection* sessionBus);

    // "vimbo.music".
    std::optional<std::string> mediaTitle(std::int32_t pid) override;

  private:
    GObjectPtr<GDBusConnection> bus_;
};

} // namespace vimbo::linuxdesktop
