#pragma once

#include <string>

namespace vimbo::app {

// What the launch switches ask for; each switch is matched as a whole argument anywhere.
struct LaunchOptions {
    // "--debug": the debug log is written.
    bool debug = false;
    // "--track-info-smoke-test": the music poll starts as soon as the page has loaded.
    bool trackInfoSmokeTest = false;
    // The page query of the first page-mode switch present, in the fixed order; empty without one.
    std::string pageQuery;

    static LaunchOptions parse(int argc, const char* const* argv);
};

} // namespace vimbo::app
