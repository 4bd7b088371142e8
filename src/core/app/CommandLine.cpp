#include "core/app/CommandLine.h"

namespace vimbo::app {
namespace {

constexpr std::string_view kHelp =
    "Usage: vimbo [OPTION...]\n"
    "Animated visuals that follow the sound the computer plays, or the microphone.\n"
    "\n"
    "  --debug                     append events, and the audio features once a second,\n"
    "                              to $TMPDIR/vimbo-debug.log\n"
    "  --help                      show this help and exit\n"
    "  --version                   show the version and exit\n"
    "\n"
    "Test modes of the page: --export-ui-test, --export-smoke-test, --export-skin-resume-test,\n"
    "--shortcuts-ui-test; --track-info-smoke-test asks the players for their track at once.\n"
    "Other arguments are ignored. Starting Vimbo while it runs brings its window to the front.\n";

} // namespace

bool hasSwitch(int argc, const char* const* argv, std::string_view name) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && argv[i] == name) return true;
    }
    return false;
}

std::optional<std::string> informationRequest(int argc, const char* const* argv, std::string_view version) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr) continue;
        const std::string_view argument = argv[i];
        if (argument == "--help") return std::string(kHelp);
        if (argument == "--version") return "Vimbo " + std::string(version) + "\n";
    }
    return std::nullopt;
}

} // namespace vimbo::app
