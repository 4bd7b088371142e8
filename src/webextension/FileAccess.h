#pragma once

#include "linux/GLibOwners.h"

#include <glib.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace vimbo::webextension {

// The path with every symbolic link and "." or ".." step resolved; empty when it does not exist.
inline std::string resolvedPath(const char* path) {
    char* resolved = realpath(path, nullptr);
    std::string result = resolved ? resolved : "";
    free(resolved);
    return result;
}

// Whether `uri` names an existing local file inside `directory` (given with a trailing slash): file
// URIs only, read after percent-decoding, on this machine, never through a parent-folder step, and
// where it really is: a symbolic link inside the folder that leads out of it does not count.
inline bool isFileInside(const char* uri, std::string_view directory) {
    if (!uri || directory.empty()) return false;
    // The page's own query ("?export-smoke-test") and fragments name no file; the file is what precedes them.
    const std::string_view address(uri);
    const std::string file(address.substr(0, address.find_first_of("?#")));
    gchar* host = nullptr;
    linuxdesktop::GText path(g_filename_from_uri(file.c_str(), &host, nullptr));
    linuxdesktop::GText hostName(host);
    if (!path || (host && g_ascii_strcasecmp(host, "localhost") != 0)) return false;
    std::string_view target = path.get();
    if (!target.starts_with(directory) || target.find("/../") != std::string_view::npos || target.ends_with("/.."))
        return false;
    const std::string folder = resolvedPath(std::string(directory).c_str());
    return !folder.empty() && resolvedPath(path.get()).starts_with(folder + "/");
}

} // namespace vimbo::webextension
