#pragma once

#include "core/menus/ShortcutKey.h"

#include <array>
#include <optional>
#include <string_view>

namespace vimbo::menus {

// A media command of the Playback menu; its raw value crosses to the page.
enum class MediaMenuCommand { playpause, prev, next };

inline constexpr std::array kAllMediaMenuCommands{MediaMenuCommand::playpause, MediaMenuCommand::prev,
                                                  MediaMenuCommand::next};

std::string_view rawValue(MediaMenuCommand command);
std::optional<MediaMenuCommand> mediaMenuCommand(std::string_view rawValue);
std::string_view menuTitle(MediaMenuCommand command);
ShortcutKey keyEquivalent(MediaMenuCommand command);

} // namespace vimbo::menus
