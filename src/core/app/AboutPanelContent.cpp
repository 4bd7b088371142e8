#include "core/app/AboutPanelContent.h"

#include <filesystem>

namespace vimbo::app {

AboutPanelContent AboutPanelContent::make(std::string_view version, std::string_view build) {
    const std::string_view dash = "\u2014";
    AboutPanelContent content;
    content.applicationName = "Vimbo";
    content.applicationVersion = std::string(version.empty() ? dash : version) + " (Build " +
                                 std::string(build.empty() ? dash : build) + ")";
    content.description = "A system audio visualizer for Linux.\nListens through PulseAudio or PipeWire.";
    content.copyright = "Copyright \u00a9 2026 The Vimbo developers";
    return content;
}

std::string thirdPartyNoticesPath(const std::string& resourceDir) {
    auto path = std::filesystem::path(resourceDir) / kThirdPartyNotices;
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path.string() : std::string();
}

} // namespace vimbo::app
