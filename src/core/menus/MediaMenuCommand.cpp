#include "core/menus/MediaMenuCommand.h"

#include "core/util/EnumTable.h"

namespace vimbo::menus {
namespace {

struct MediaRow {
    MediaMenuCommand value;
    std::string_view raw;
    std::string_view title;
    const char* key;
    unsigned modifiers;
};

constexpr std::array<MediaRow, 3> kMediaCommands{{
    {MediaMenuCommand::playpause, "playpause", "Play / Pause", "p", modifier::command},
    {MediaMenuCommand::prev, "prev", "Previous Track", kLeftArrowKey, modifier::option | modifier::command},
    {MediaMenuCommand::next, "next", "Next Track", kRightArrowKey, modifier::option | modifier::command},
}};
static_assert(util::inEnumOrder(kMediaCommands) && kMediaCommands.size() == kAllMediaMenuCommands.size());

} // namespace

std::string_view rawValue(MediaMenuCommand command) {
    return util::rowOf(kMediaCommands, command).raw;
}

std::optional<MediaMenuCommand> mediaMenuCommand(std::string_view raw) {
    return util::valueWithRaw(kMediaCommands, raw);
}

std::string_view menuTitle(MediaMenuCommand command) {
    return util::rowOf(kMediaCommands, command).title;
}

ShortcutKey keyEquivalent(MediaMenuCommand command) {
    const MediaRow& row = util::rowOf(kMediaCommands, command);
    return {row.key, row.modifiers};
}

} // namespace vimbo::menus
