#include "core/app/CommandLine.h"

namespace vimbo::app {

bool hasSwitch(int argc, const char* const* argv, std::string_view name) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && argv[i] == name) return true;
    }
    return false;
}

} // namespace vimbo::app
