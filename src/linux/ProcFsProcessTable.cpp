#include "linux/ProcFsProcessTable.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vimbo::linuxdesktop {

namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// "pid (name) state ppid ...": the name may hold blanks and parentheses, so read after the last ")".
std::optional<std::int32_t> parentFromStat(const std::string& stat) {
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    char state = 0;
    std::int32_t parent = 0;
    if (!(fields >> state >> parent)) return std::nullopt;
    return parent;
}

// The program's file name; an updated program shows as "name (deleted)". Without permission to read
// the link, the kernel's short name (up to 15 characters) stands in.
std::string executableName(const std::filesystem::path& process) {
    std::error_code error;
    auto target = std::filesystem::read_symlink(process / "exe", error).filename().string();
    if (error) {
        target = readFile(process / "comm").value_or("");
        if (!target.empty() && target.back() == '\n') target.pop_back();
    }
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
    return target;
}

// GNOME Web runs each installed web application as a browser process of its own in this mode.
bool inApplicationMode(const std::filesystem::path& process) {
    const auto commandLine = readFile(process / "cmdline").value_or("");
    std::istringstream arguments(commandLine);
    for (std::string argument; std::getline(arguments, argument, '\0');) {
        if (argument == "--application-mode") return true;
    }
    return false;
}

} // namespace

std::optional<platform::ProcessEntry> ProcFsProcessTable::entry(std::int32_t pid) {
    if (pid < 1) return std::nullopt;
    const std::filesystem::path process = "/proc/" + std::to_string(pid);
    const auto stat = readFile(process / "stat");
    const auto parent = stat ? parentFromStat(*stat) : std::nullopt;
    if (!parent) return std::nullopt;
    return platform::ProcessEntry{*parent, executableName(process), inApplicationMode(process)};
}

} // namespace vimbo::linuxdesktop
