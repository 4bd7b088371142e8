#pragma once

#include "core/platform/MainMenu.h"
#include "core/util/ThreadChecker.h"
#include "linux/GLibOwners.h"

#include <gtk/gtk.h>

#include <memory>
#include <vector>

namespace vimbo::linuxdesktop {

// The main menu as a GMenuModel with one GAction per item on the application: stateful boolean actions
// carry check marks, the action's enabled flag the item's enabling, and key equivalents become the
// application's accelerators. Standard items (editing, window handling, Quit) act on the active window.
// Main thread.
class GtkMainMenu : public platform::MainMenu {
  public:
    explicit GtkMainMenu(GtkApplication* application);
    ~GtkMainMenu() override;
    GtkMainMenu(const GtkMainMenu&) = delete;
    GtkMainMenu& operator=(const GtkMainMenu&) = delete;

    MenuId addSubmenu(MenuId parent, const std::string& title) override;
    ItemId addItem(MenuId menu, Item item) override;
    void addSeparator(MenuId menu) override;
    void setChecked(ItemId item, bool checked) override;
    void setEnabled(ItemId item, bool enabled) override;

    // The menu bar model, also exported on the session bus by the application.
    GMenuModel* model() const { return G_MENU_MODEL(menus_.front().menu.get()); }
    // Makes the tree the application's menu bar: desktops with a global menu show it there.
    void installAsMenubar();
    // Wraps `content` in an overlay whose top corner (right for GTK_ALIGN_END, left for GTK_ALIGN_START)
    // holds a menu button with the whole menu, so the menu is reachable inside the window without
    // taking space from the page.
    GtkWidget* overlayMenuButton(GtkWidget* content, GtkAlign corner = GTK_ALIGN_END);
    // Opens that menu on F10 in `window` (one window), and keeps an application window from showing the menu
    // bar as a permanent strip over the visuals.
    void attachToWindow(GtkWindow* window);

  private:
    struct MenuRecord {
        GObjectPtr<GMenu> menu;
        // Items go into sections; a separator starts a new one. The menu bar has none.
        GMenu* section = nullptr;
    };
    struct ItemRecord {
        GtkMainMenu* owner;
        Item item;
        GObjectPtr<GSimpleAction> action;
    };

    static void onActivate(GSimpleAction* action, GVariant* parameter, gpointer record);
    static gboolean onKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    gboolean activateShiftedAccelerator(GdkEventKey* event, GdkModifierType modifiers);
    void performStandardCommand(menus::MenuAction action);
    GMenu* sectionFor(MenuId menu);

    GtkApplication* application_;
    std::vector<MenuRecord> menus_;
    std::vector<std::unique_ptr<ItemRecord>> items_;
    GtkWidget* menuButton_ = nullptr;
    // The window whose keys open the menu; cleared by GLib if the window goes first.
    GtkWindow* window_ = nullptr;
    util::ThreadChecker mainThread_;
};

} // namespace vimbo::linuxdesktop
