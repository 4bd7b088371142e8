#pragma once

#include "linux/GLibOwners.h"

#include <glib.h>

#include <string_view>

namespace vimbo::webextension {

// Whether `uri` names a local file inside `directory` (given with a trailing slash): file URIs
// only, read after percent-decoding, on this machine, and never through a parent-folder step.
inline bool isFileInside(const char* uri, std::string_view directory) {
    if (!uri || directory.empty()) return false;
    gchar* host = nullptr;
    linuxdesktop::GText path(g_filename_from_uri(uri, &host, nullptr));
    linuxdesktop::GText hostName(host);
    if (!path || (host && g_ascii_strcasecmp(host, "localhost") != 0)) return false;
    std::string_view target = path.get();
    return target.starts_with(directory) && target.find("/../") == std::string_view::npos &&
           !target.ends_with("/..");
}

} // namespace vimbo::webextension
