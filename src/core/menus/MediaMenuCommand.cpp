#include "core/menus/MediaMenuCommand.h"

namespace vimbo::menus {

std::string_view rawValue(MediaMenuCommand command) {
    switch (command) {
    case MediaMenuCommand::playpause:
        return "playpause";
    case MediaMenuCommand::prev:
        return "prev";
    case MediaMenuCommand::next:
        return "next";
    }
    return "";
}

std::optional<MediaMenuCommand> mediaMenuCommand(std::string_view raw) {
    for (auto command : kAllMediaMenuCommands) {
        if (rawValue(command) == raw) return command;
    }
    return std::nullopt;
}

std::string_view menuTitle(MediaMenuCommand command) {
    switch (command) {
    case MediaMenuCommand::playpause:
        return "Play / Pause";
    case MediaMenuCommand::prev:
        return "Previous Track";
    case MediaMenuCommand::next:
        return "Next Track";
    }
    return "";
}

ShortcutKey keyEquivalent(MediaMenuCommand command) {
    switch (command) {
    case MediaMenuCommand::playpause:
        return {"p", modifier::command};
    case MediaMenuCommand::prev:
        return {kLeftArrowKey, modifier::option | modifier::command};
    case MediaMenuCommand::next:
        return {kRightArrowKey, modifier::option | modifier::command};
    }
    return {};
}

} // namespace vimbo::menus
