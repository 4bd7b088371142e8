#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vimbo::nowplaying {

// The browser source of now-playing: the cleaned title of what a browser plays, or none. Called on
// the "vimbo.music" queue, and may take a while; `debug`, when given, receives its diagnostic lines.
using BrowserTitle =
    std::function<std::optional<std::string>(const std::function<void(std::string_view)>* debug)>;

} // namespace vimbo::nowplaying
