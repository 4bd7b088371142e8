#include "linux/ResourceDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vimbo::linuxdesktop {
namespace {

bool holds(const std::filesystem::path& dir, const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(dir / file, error);
}

const std::filesystem::path kPage = "web/index.html";
const std::filesystem::path kExtension = "vimbo-web-extension.so";

// The prefix the program is installed under (/usr for /usr/bin/vimbo).
std::optional<std::filesystem::path> installPrefix() {
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return program.parent_path().parent_path();
}

} // namespace

std::optional<std::string> resourceDirectory() {
    if (const char* chosen = std::getenv("VIMBO_RESOURCE_DIR"); chosen && *chosen) {
        std::error_code error;
        auto absolute = std::filesystem::absolute(chosen, error).lexically_normal();
        if (error || !holds(absolute, kPage)) return std::nullopt;
        return absolute.string();
    }
    if (auto prefix = installPrefix()) {
        auto installed = (*prefix / "share" / "vimbo").lexically_normal();
        if (holds(installed, kPage)) return installed.string();
    }
    std::filesystem::path sourceTree(VIMBO_SOURCE_DIR);
    if (holds(sourceTree, kPage)) return sourceTree.string();
    return std::nullopt;
}

std::optional<std::string> webExtensionDirectory() {
    if (auto prefix = installPrefix()) {
        auto installed = (*prefix / VIMBO_INSTALL_LIBDIR / "vimbo" / "web-extensions").lexically_normal();
        if (holds(installed, kExtension)) return installed.string();
    }
    std::filesystem::path buildTree(VIMBO_WEB_EXTENSION_BUILD_DIR);
    if (holds(buildTree, kExtension)) return buildTree.string();
    return std::nullopt;
}

} // namespace vimbo::linuxdesktop
