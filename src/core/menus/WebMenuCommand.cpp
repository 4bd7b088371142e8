#include "core/menus/WebMenuCommand.h"

namespace vimbo::menus {

WebMenuCommand WebMenuCommand::display(DisplayMenuSetting setting) {
    WebMenuCommand command(Kind::display);
    command.display_ = setting;
    return command;
}

WebMenuCommand WebMenuCommand::media(MediaMenuCommand media) {
    WebMenuCommand command(Kind::media);
    command.media_ = media;
    return command;
}

std::string WebMenuCommand::javascript() const {
    switch (kind_) {
    case Kind::skin:
        return "window.__menuSelectSkin(" + std::to_string(number_) + ")";
    case Kind::cycleSkin:
        return "window.__menuCycleSkin(" + std::to_string(number_) + ")";
    case Kind::display:
        return "window.__menuToggleDisplay('" + std::string(rawValue(display_)) + "')";
    case Kind::media:
        return "window.__menuMediaCommand('" + std::string(rawValue(media_)) + "')";
    case Kind::settings:
        return "window.__menuOpenSettings('normal')";
    case Kind::shortcuts:
        return "window.__menuShowShortcuts()";
    }
    return "";
}

} // namespace vimbo::menus
