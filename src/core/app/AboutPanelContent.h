#pragma once

#include <string>
#include <string_view>

namespace vimbo::app {

// The four texts of the About panel.
struct AboutPanelContent {
    std::string applicationName;
    std::string applicationVersion;
    std::string description;
    std::string copyright;

    // A missing version or build number shows as an em dash.
    static AboutPanelContent make(std::string_view version, std::string_view build);
};

// The acknowledgements file in the resource directory, if it is there.
std::string thirdPartyNoticesPath(const std::string& resourceDir);
inline constexpr std::string_view kThirdPartyNotices = "THIRD-PARTY-NOTICES.txt";

} // namespace vimbo::app
