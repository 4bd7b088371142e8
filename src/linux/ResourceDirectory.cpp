#include "linux/ResourceDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vimbo::linux {
namespace {

bool holdsPage(const std::filesystem::path& dir) {
    std::error_code error;
    return std::filesystem::is_regular_file(dir / "web" / "index.html", error);
}

} // namespace

std::optional<std::string> resourceDirectory() {
    if (const char* chosen = std::getenv("VIMBO_RESOURCE_DIR"); chosen && *chosen) {
        std::error_code error;
        auto absolute = std::filesystem::absolute(chosen, error);
        if (error) return std::nullopt;
        return absolute.lexically_normal().string();
    }
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto installed = (program.parent_path().parent_path() / "share" / "vimbo").lexically_normal();
        if (holdsPage(installed)) return installed.string();
    }
    std::filesystem::path sourceTree(VIMBO_SOURCE_DIR);
    if (holdsPage(sourceTree)) return sourceTree.string();
    return std::nullopt;
}

} // namespace vimbo::linux
