#pragma once

#include "core/menus/DisplayMenuSetting.h"
#include "core/menus/MediaMenuCommand.h"

#include <cstdint>
#include <string>

namespace vimbo::menus {

// A command the native menus send to the page, evaluated there as one script call.
class WebMenuCommand {
  public:
    enum class Kind { skin, cycleSkin, display, media, settings, shortcuts };

    static WebMenuCommand skin(std::int64_t id) { return WebMenuCommand(Kind::skin, id); }
    // +1 for the next skin, -1 for the previous one.
    static WebMenuCommand cycleSkin(std::int64_t step) { return WebMenuCommand(Kind::cycleSkin, step); }
    static WebMenuCommand display(DisplayMenuSetting setting);
    static WebMenuCommand media(MediaMenuCommand command);
    static WebMenuCommand settings() { return WebMenuCommand(Kind::settings); }
    static WebMenuCommand shortcuts() { return WebMenuCommand(Kind::shortcuts); }

    Kind kind() const { return kind_; }
    // The script evaluated in the page, for example "window.__menuCycleSkin(-1)".
    std::string javascript() const;

    bool operator==(const WebMenuCommand&) const = default;

  private:
    explicit WebMenuCommand(Kind kind, std::int64_t number = 0) : kind_(kind), number_(number) {}

    Kind kind_;
    std::int64_t number_ = 0;
    DisplayMenuSetting display_ = DisplayMenuSetting::dark;
    MediaMenuCommand media_ = MediaMenuCommand::playpause;
};

} // namespace vimbo::menus
