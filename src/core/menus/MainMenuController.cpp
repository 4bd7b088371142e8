#include "core/menus/MainMenuController.h"

#include "core/menus/DisplayMenuSetting.h"
#include "core/menus/MediaMenuCommand.h"
#include "core/menus/MenuLayout.h"

namespace vimbo::menus {
MainMenuController::MainMenuController(platform::MainMenu& menu, MenuTarget& target)
    : menu_(menu), target_(target) {
    buildApplicationMenu();
    buildEditMenu();
    buildViewMenu();
    buildPlaybackMenu();
    buildWindowMenu();
    buildHelpMenu();
    validateItems();
}

void MainMenuController::buildApplicationMenu() {
    auto app = menu_.addSubmenu(platform::MainMenu::kMenuBar, "Vimbo");
    addTargetItem(app, "showAboutPanel", "About Vimbo", MenuAction::showAboutPanel, std::nullopt);
    menu_.addSeparator(app);
    addTargetItem(app, "checkForUpdates", "Check for Updates…", MenuAction::checkForUpdates, std::nullopt);
    menu_.addSeparator(app);
    addStandardItem(app, "Quit Vimbo", MenuAction::terminate, commandKey("q"));
}

void MainMenuController::buildEditMenu() {
    auto edit = menu_.addSubmenu(platform::MainMenu::kMenuBar, "Edit");
    addStandardItem(edit, "Undo", MenuAction::undo, commandKey("z"));
    addStandardItem(edit, "Redo", MenuAction::redo, commandKey("z", modifier::shift));
    menu_.addSeparator(edit);
    addStandardItem(edit, "Cut", MenuAction::cut, commandKey("x"));
    addStandardItem(edit, "Copy", MenuAction::copy, commandKey("c"));
    addStandardItem(edit, "Paste", MenuAction::paste, commandKey("v"));
    addStandardItem(edit, "Paste and Match Style", MenuAction::pasteAsPlainText,
                    commandKey("v", modifier::option | modifier::shift));
    menu_.addSeparator(edit);
    addStandardItem(edit, "Select All", MenuAction::selectAll, commandKey("a"));
}

void MainMenuController::buildViewMenu() {
    auto view = menu_.addSubmenu(platform::MainMenu::kMenuBar, "View");
    addTargetItem(view, "showSettings", "Show Settings…", MenuAction::showSettings, commandKey(","));
    menu_.addSeparator(view);

    auto skins = menu_.addSubmenu(view, "Skin");
    for (const auto& entry : MenuLayout::skins()) {
        skinItems_[entry.id] =
            addTargetItem(skins, "selectSkinFromMenu-" + std::to_string(entry.id), entry.name,
                          MenuAction::selectSkinFromMenu, entry.shortcut, entry.id, true);
    }

    // The Display submenu does not validate its items: apply() alone decides their enabling.
    auto display = menu_.addSubmenu(view, "Display");
    for (auto setting : kAllDisplayMenuSettings) {
        std::string raw(rawValue(setting));
        displayItems_[raw] =
            addTargetItem(display, "toggleDisplayFromMenu-" + raw, std::string(menuTitle(setting)),
                          MenuAction::toggleDisplayFromMenu, keyEquivalent(setting), raw, true, false);
    }
    menu_.addSeparator(view);
    addTargetItem(view, "cycleSkinFromMenu-next", "Next Skin", MenuAction::cycleSkinFromMenu, commandKey("]"),
                  std::int64_t{1});
    addTargetItem(view, "cycleSkinFromMenu-previous", "Previous Skin", MenuAction::cycleSkinFromMenu,
                  commandKey("["), std::int64_t{-1});
}

void MainMenuController::buildPlaybackMenu() {
    // Playback items are enabled only by the page's musicControl; they start disabled.
    auto playback = menu_.addSubmenu(platform::MainMenu::kMenuBar, "Playback");
    for (auto media : kAllMediaMenuCommands) {
        std::string raw(rawValue(media));
        auto item = addTargetItem(playback, "mediaCommandFromMenu-" + raw, std::string(menuTitle(media)),
                                  MenuAction::mediaCommandFromMenu, keyEquivalent(media), raw, false, false);
        menu_.setEnabled(item, false);
        playbackItems_.push_back(item);
    }
}

void MainMenuController::buildWindowMenu() {
    auto window = menu_.addSubmenu(platform::MainMenu::kMenuBar, "Window");
    miniPlayerItem_ =
        addTargetItem(window, "toggleMiniPlayerFromMenu", "Mini Player", MenuAction::toggleMiniPlayerFromMenu,
                      commandKey("m", modifier::shift), {}, true);
    alwaysOnTopItem_ =
        addTargetItem(window, "toggleAlwaysOnTopFromMenu", "Always on Top",
                      MenuAction::toggleAlwaysOnTopFromMenu, commandKey("t", modifier::shift), {}, true);
    menu_.addSeparator(window);
    addStandardItem(window, "Close Window", MenuAction::performClose, commandKey("w"));
    addStandardItem(window, "Minimize", MenuAction::performMiniaturize, commandKey("m"));
    addStandardItem(window, "Zoom", MenuAction::performZoom, std::nullopt);
    addStandardItem(window, "Enter Full Screen", MenuAction::toggleFullScreen, commandKey("f"));
    menu_.addSeparator(window);
    addStandardItem(window, "Bring All to Front", MenuAction::arrangeInFront, std::nullopt);
}

void MainMenuController::buildHelpMenu() {
    auto help = menu_.addSubmenu(platform::MainMenu::kMenuBar, "Help");
    addTargetItem(help, "showKeyboardShortcuts", "Keyboard Shortcuts", MenuAction::showKeyboardShortcuts,
                  commandKey("/"));
    menu_.addSeparator(help);
    addTargetItem(help, "showAcknowledgements", "Acknowledgements", MenuAction::showAcknowledgements,
                  std::nullopt);
    addTargetItem(help, "openSupport", "Vimbo Support", MenuAction::openSupport,
                  commandKey("/", modifier::shift));
}

MainMenuController::ItemId MainMenuController::addTargetItem(MenuId menu, std::string id, std::string title,
                                                             MenuAction action,
                                                             std::optional<ShortcutKey> key,
                                                             MenuValue represented, bool checkable,
                                                             bool validated) {
    platform::MainMenu::Item item;
    item.id = std::move(id);
    item.title = std::move(title);
    item.action = action;
    item.key = std::move(key);
    item.represented = represented;
    item.checkable = checkable;
    item.activate = [this, action, represented] { target_.performMenuAction(action, represented); };
    auto itemId = menu_.addItem(menu, std::move(item));
    if (validated) validatedItems_.emplace_back(itemId, action);
    return itemId;
}

MainMenuController::ItemId MainMenuController::addStandardItem(MenuId menu, std::string title,
                                                               MenuAction action,
                                                               std::optional<ShortcutKey> key) {
    platform::MainMenu::Item item;
    item.id = std::string(actionName(action));
    item.title = std::move(title);
    item.action = action;
    item.key = std::move(key);
    return menu_.addItem(menu, std::move(item));
}

void MainMenuController::apply(const NativeMenuState& state) {
    mainThread_.check();
    for (const auto& [id, item] : skinItems_)
        menu_.setChecked(item, id == state.skin);
    const std::pair<DisplayMenuSetting, bool> marks[] = {
        {DisplayMenuSetting::dark, state.dark},
        {DisplayMenuSetting::glow, state.glow},
        {DisplayMenuSetting::glass, state.glass},
        {DisplayMenuSetting::keepAwake, state.keepAwake},
        {DisplayMenuSetting::musicInfo, state.musicInfo},
        {DisplayMenuSetting::menuBarVisible, state.menuBarVisible},
    };
    for (const auto& [setting, on] : marks) {
        auto found = displayItems_.find(std::string(rawValue(setting)));
        if (found != displayItems_.end()) menu_.setChecked(found->second, on);
    }
    auto glow = displayItems_.find(std::string(rawValue(DisplayMenuSetting::glow)));
    if (glow != displayItems_.end()) menu_.setEnabled(glow->second, state.dark);
    for (auto item : playbackItems_)
        menu_.setEnabled(item, state.musicControl);
    exportMode_ = state.exportMode;
    applyWindowCheckMarks();
    validateItems();
}

void MainMenuController::apply(const WindowMenuState& window) {
    mainThread_.check();
    windowState_ = window;
    applyWindowCheckMarks();
    validateItems();
}

void MainMenuController::validateItems() {
    mainThread_.check();
    for (const auto& [item, action] : validatedItems_)
        menu_.setEnabled(item, target_.validateMenuItem(action));
}

void MainMenuController::applyWindowCheckMarks() {
    if (miniPlayerItem_) menu_.setChecked(*miniPlayerItem_, windowState_.mini);
    if (alwaysOnTopItem_) menu_.setChecked(*alwaysOnTopItem_, windowState_.onTop);
}

} // namespace vimbo::menus
