#include "linux/DesktopBrowserTitle.h"

#include "core/nowplaying/BrowserNowPlaying.h"
#include "linux/AtSpiAccessibilityTree.h"
#include "linux/DesktopNotificationPrompt.h"
#include "linux/MprisMediaSessionTitles.h"
#include "linux/ProcFsProcessTable.h"
#include "linux/PulseAudioOutputProcesses.h"
#include "linux/X11ApplicationWindows.h"

#include <memory>

namespace vimbo::linuxdesktop {
namespace {

struct Sources {
    Sources(GDBusConnection* bus, platform::DefaultsStore& defaults)
        : mediaSessions(bus), accessibility(bus), prompt(bus),
          browser({audio, processes, windows, mediaSessions, accessibility, prompt},
                  {defaults, std::string(nowplaying::BrowserNowPlaying::kPromptDefaultsKey)}) {}

    PulseAudioOutputProcesses audio;
    ProcFsProcessTable processes;
    X11ApplicationWindows windows;
    MprisMediaSessionTitles mediaSessions;
    AtSpiAccessibilityTree accessibility;
    DesktopNotificationPrompt prompt;
    nowplaying::BrowserNowPlaying browser;
};

} // namespace

nowplaying::BrowserTitle desktopBrowserTitle(GDBusConnection* sessionBus, platform::DefaultsStore& defaults) {
    auto sources = std::make_shared<Sources>(sessionBus, defaults);
    return [sources](const std::function<void(std::string_view)>* debug) {
        if (!debug) return sources->browser.title({});
        return sources->browser.title([debug](const std::string& line) { (*debug)(line); });
    };
}

} // namespace vimbo::linuxdesktop
