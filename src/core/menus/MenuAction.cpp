#include "core/menus/MenuAction.h"

namespace vimbo::menus {

std::string_view actionName(MenuAction action) {
    switch (action) {
    case MenuAction::showAboutPanel:
        return "showAboutPanel";
    case MenuAction::checkForUpdates:
        return "checkForUpdates";
    case MenuAction::terminate:
        return "terminate";
    case MenuAction::undo:
        return "undo";
    case MenuAction::redo:
        return "redo";
    case MenuAction::cut:
        return "cut";
    case MenuAction::copy:
        return "copy";
    case MenuAction::paste:
        return "paste";
    case MenuAction::pasteAsPlainText:
        return "pasteAsPlainText";
    case MenuAction::selectAll:
        return "selectAll";
    case MenuAction::showSettings:
        return "showSettings";
    case MenuAction::selectSkinFromMenu:
        return "selectSkinFromMenu";
    case MenuAction::toggleDisplayFromMenu:
        return "toggleDisplayFromMenu";
    case MenuAction::cycleSkinFromMenu:
        return "cycleSkinFromMenu";
    case MenuAction::mediaCommandFromMenu:
        return "mediaCommandFromMenu";
    case MenuAction::toggleMiniPlayerFromMenu:
        return "toggleMiniPlayerFromMenu";
    case MenuAction::toggleAlwaysOnTopFromMenu:
        return "toggleAlwaysOnTopFromMenu";
    case MenuAction::performClose:
        return "performClose";
    case MenuAction::performMiniaturize:
        return "performMiniaturize";
    case MenuAction::performZoom:
        return "performZoom";
    case MenuAction::toggleFullScreen:
        return "toggleFullScreen";
    case MenuAction::arrangeInFront:
        return "arrangeInFront";
    case MenuAction::showKeyboardShortcuts:
        return "showKeyboardShortcuts";
    case MenuAction::showAcknowledgements:
        return "showAcknowledgements";
    case MenuAction::openSupport:
        return "openSupport";
    }
    return "";
}

} // namespace vimbo::menus
