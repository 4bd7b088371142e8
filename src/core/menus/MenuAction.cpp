#include "core/menus/MenuAction.h"

#include "core/util/EnumTable.h"

#include <array>

namespace vimbo::menus {
namespace {

struct ActionRow {
    MenuAction value;
    std::string_view raw;
};

constexpr std::array<ActionRow, 25> kActionNames{{
    {MenuAction::showAboutPanel, "showAboutPanel"},
    {MenuAction::checkForUpdates, "checkForUpdates"},
    {MenuAction::terminate, "terminate"},
    {MenuAction::undo, "undo"},
    {MenuAction::redo, "redo"},
    {MenuAction::cut, "cut"},
    {MenuAction::copy, "copy"},
    {MenuAction::paste, "paste"},
    {MenuAction::pasteAsPlainText, "pasteAsPlainText"},
    {MenuAction::selectAll, "selectAll"},
    {MenuAction::showSettings, "showSettings"},
    {MenuAction::selectSkinFromMenu, "selectSkinFromMenu"},
    {MenuAction::toggleDisplayFromMenu, "toggleDisplayFromMenu"},
    {MenuAction::cycleSkinFromMenu, "cycleSkinFromMenu"},
    {MenuAction::mediaCommandFromMenu, "mediaCommandFromMenu"},
    {MenuAction::toggleMiniPlayerFromMenu, "toggleMiniPlayerFromMenu"},
    {MenuAction::toggleAlwaysOnTopFromMenu, "toggleAlwaysOnTopFromMenu"},
    {MenuAction::performClose, "performClose"},
    {MenuAction::performMiniaturize, "performMiniaturize"},
    {MenuAction::performZoom, "performZoom"},
    {MenuAction::toggleFullScreen, "toggleFullScreen"},
    {MenuAction::arrangeInFront, "arrangeInFront"},
    {MenuAction::showKeyboardShortcuts, "showKeyboardShortcuts"},
    {MenuAction::showAcknowledgements, "showAcknowledgements"},
    {MenuAction::openSupport, "openSupport"},
}};
// The last action closes the table, so an action added to the enum needs its row here.
static_assert(util::inEnumOrder(kActionNames) && kActionNames.back().value == MenuAction::openSupport);

} // namespace

std::string_view actionName(MenuAction action) {
    return util::rowOf(kActionNames, action).raw;
}

} // namespace vimbo::menus
