#pragma once

#include "core/menus/MenuTarget.h"
#include "core/menus/NativeMenuState.h"
#include "core/menus/WindowMenuState.h"
#include "core/platform/MainMenu.h"
#include "core/util/ThreadChecker.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vimbo::menus {

// Builds the application's menu bar once and afterwards only mirrors the page's menu state and the
// window state in check marks and enabling. Main thread.
class MainMenuController {
  public:
    // Builds the whole tree; items that concern the page or the windows call `target`.
    MainMenuController(platform::MainMenu& menu, MenuTarget& target);
    MainMenuController(const MainMenuController&) = delete;
    MainMenuController& operator=(const MainMenuController&) = delete;

    void apply(const NativeMenuState& state);
    void apply(const WindowMenuState& window);
    // Asks the target again whether each of its items is enabled (the platform does not ask on its own).
    void validateItems();

    bool exportMode() const { return exportMode_; }
    const WindowMenuState& windowState() const { return windowState_; }

  private:
    using ItemId = platform::MainMenu::ItemId;
    using MenuId = platform::MainMenu::MenuId;

    void buildApplicationMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildPlaybackMenu();
    void buildWindowMenu();
    void buildHelpMenu();
    // An item whose action goes to the target; `validated` items take their enabling from it.
    ItemId addTargetItem(MenuId menu, std::string id, std::string title, MenuAction action,
                         std::optional<ShortcutKey> key, MenuValue represented = {}, bool checkable = false,
                         bool validated = true);
    ItemId addStandardItem(MenuId menu, std::string title, MenuAction action, std::optional<ShortcutKey> key);
    void applyWindowCheckMarks();

    platform::MainMenu& menu_;
    MenuTarget& target_;
    std::map<std::int64_t, ItemId> skinItems_;
    std::map<std::string, ItemId> displayItems_;
    std::vector<ItemId> playbackItems_;
    std::optional<ItemId> miniPlayerItem_;
    std::optional<ItemId> alwaysOnTopItem_;
    std::vector<std::pair<ItemId, MenuAction>> validatedItems_;
    bool exportMode_ = false;
    WindowMenuState windowState_;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::menus
