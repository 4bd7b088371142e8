#include "core/app/LaunchOptions.h"

#include "core/app/CommandLine.h"

#include <array>
#include <string_view>
#include <utility>

namespace vimbo::app {

LaunchOptions LaunchOptions::parse(int argc, const char* const* argv) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kQueries{{
        {"--export-skin-resume-test", "?export-ui-test&export-skin-resume-test"},
        {"--export-smoke-test", "?export-smoke-test"},
        {"--export-ui-test", "?export-ui-test"},
        {"--shortcuts-ui-test", "?shortcuts-ui-test"},
    }};
    LaunchOptions options;
    options.debug = hasSwitch(argc, argv, "--debug");
    options.trackInfoSmokeTest = hasSwitch(argc, argv, "--track-info-smoke-test");
    for (auto [argument, query] : kQueries) {
        if (hasSwitch(argc, argv, argument)) {
            options.pageQuery = query;
            break;
        }
    }
    return options;
}

} // namespace vimbo::app
