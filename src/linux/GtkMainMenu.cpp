#include "linux/GtkMainMenu.h"

#include <webkit2/webkit2.h>

#include <string>
#include <utility>

namespace vimbo::linuxdesktop {
namespace {

const char* editingCommand(menus::MenuAction action) {
    switch (action) {
    case menus::MenuAction::undo:
        return WEBKIT_EDITING_COMMAND_UNDO;
    case menus::MenuAction::redo:
        return WEBKIT_EDITING_COMMAND_REDO;
    case menus::MenuAction::cut:
        return WEBKIT_EDITING_COMMAND_CUT;
    case menus::MenuAction::copy:
        return WEBKIT_EDITING_COMMAND_COPY;
    case menus::MenuAction::paste:
        return WEBKIT_EDITING_COMMAND_PASTE;
    case menus::MenuAction::pasteAsPlainText:
        return WEBKIT_EDITING_COMMAND_PASTE_AS_PLAIN_TEXT;
    case menus::MenuAction::selectAll:
        return WEBKIT_EDITING_COMMAND_SELECT_ALL;
    default:
        return nullptr;
    }
}

// Editing commands go to whatever has the keyboard focus: the page, or a native text field.
void performEditing(GtkWindow* window, menus::MenuAction action) {
    GtkWidget* focus = gtk_window_get_focus(window);
    if (focus == nullptr) return;
    if (WEBKIT_IS_WEB_VIEW(focus)) {
        if (const char* command = editingCommand(action))
            webkit_web_view_execute_editing_command(WEBKIT_WEB_VIEW(focus), command);
        return;
    }
    if (!GTK_IS_EDITABLE(focus)) return;
    auto* editable = GTK_EDITABLE(focus);
    switch (action) {
    case menus::MenuAction::cut:
        gtk_editable_cut_clipboard(editable);
        break;
    case menus::MenuAction::copy:
        gtk_editable_copy_clipboard(editable);
        break;
    case menus::MenuAction::paste:
    case menus::MenuAction::pasteAsPlainText:
        gtk_editable_paste_clipboard(editable);
        break;
    case menus::MenuAction::selectAll:
        gtk_editable_select_region(editable, 0, -1);
        break;
    default:
        break; // GTK 3 text fields keep no undo history.
    }
}

bool hasWindowState(GtkWindow* window, GdkWindowState state) {
    GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window));
    return gdkWindow != nullptr && (gdk_window_get_state(gdkWindow) & state) != 0;
}

} // namespace

GtkMainMenu::GtkMainMenu(GtkApplication* application) : application_(application) {
    menus_.push_back(MenuRecord{GObjectPtr<GMenu>(g_menu_new()), nullptr});
}

GtkMainMenu::~GtkMainMenu() {
    if (window_ != nullptr) {
        g_signal_handlers_disconnect_by_data(window_, this);
        g_object_remove_weak_pointer(G_OBJECT(window_), reinterpret_cast<gpointer*>(&window_));
    }
    for (auto& record : items_) {
        g_signal_handlers_disconnect_by_data(record->action.get(), record.get());
        g_action_map_remove_action(G_ACTION_MAP(application_), record->item.id.c_str());
    }
}

GMenu* GtkMainMenu::sectionFor(MenuId menu) {
    auto& record = menus_.at(static_cast<std::size_t>(menu));
    if (menu == kMenuBar) return record.menu.get();
    if (record.section == nullptr) addSeparator(menu);
    return record.section;
}

GtkMainMenu::MenuId GtkMainMenu::addSubmenu(MenuId parent, const std::string& title) {
    mainThread_.check();
    GObjectPtr<GMenu> submenu(g_menu_new());
    g_menu_append_submenu(sectionFor(parent), title.c_str(), G_MENU_MODEL(submenu.get()));
    menus_.push_back(MenuRecord{std::move(submenu), nullptr});
    return static_cast<MenuId>(menus_.size() - 1);
}

void GtkMainMenu::addSeparator(MenuId menu) {
    mainThread_.check();
    auto& record = menus_.at(static_cast<std::size_t>(menu));
    GObjectPtr<GMenu> section(g_menu_new());
    g_menu_append_section(record.menu.get(), nullptr, G_MENU_MODEL(section.get()));
    // The parent menu holds the section from here on.
    record.section = section.get();
}

GtkMainMenu::ItemId GtkMainMenu::addItem(MenuId menu, Item item) {
    mainThread_.check();
    auto record = std::make_unique<ItemRecord>();
    record->owner = this;
    record->action.reset(
        item.checkable ? g_simple_action_new_stateful(item.id.c_str(), nullptr, g_variant_new_boolean(FALSE))
                       : g_simple_action_new(item.id.c_str(), nullptr));
    g_simple_action_set_enabled(record->action.get(), item.enabled);
    // With a handler connected, GLib no longer toggles boolean states on its own: check marks move
    // only when the page's state says so.
    g_signal_connect(record->action.get(), "activate", G_CALLBACK(onActivate), record.get());
    g_action_map_add_action(G_ACTION_MAP(application_), G_ACTION(record->action.get()));

    std::string detailed = "app." + item.id;
    GObjectPtr<GMenuItem> menuItem(g_menu_item_new(item.title.c_str(), detailed.c_str()));
    if (item.key) {
        std::string accelerator = item.key->gtkAccelerator();
        g_menu_item_set_attribute(menuItem.get(), "accel", "s", accelerator.c_str());
        const char* accels[] = {accelerator.c_str(), nullptr};
        gtk_application_set_accels_for_action(application_, detailed.c_str(), accels);
    }
    g_menu_append_item(sectionFor(menu), menuItem.get());

    record->item = std::move(item);
    items_.push_back(std::move(record));
    return static_cast<ItemId>(items_.size() - 1);
}

void GtkMainMenu::setChecked(ItemId item, bool checked) {
    mainThread_.check();
    g_simple_action_set_state(items_.at(static_cast<std::size_t>(item))->action.get(),
                              g_variant_new_boolean(checked));
}

void GtkMainMenu::setEnabled(ItemId item, bool enabled) {
    mainThread_.check();
    g_simple_action_set_enabled(items_.at(static_cast<std::size_t>(item))->action.get(), enabled);
}

void GtkMainMenu::installAsMenubar() {
    gtk_application_set_menubar(application_, model());
}

GtkWidget* GtkMainMenu::overlayMenuButton(GtkWidget* content, GtkAlign corner) {
    GtkWidget* overlay = gtk_overlay_new();
    gtk_container_add(GTK_CONTAINER(overlay), content);

    menuButton_ = gtk_menu_button_new();
    // A classic menu with cascading submenus reads better for a whole menu bar than a popover.
    gtk_menu_button_set_use_popover(GTK_MENU_BUTTON(menuButton_), FALSE);
    gtk_menu_button_set_menu_model(GTK_MENU_BUTTON(menuButton_), model());
    gtk_button_set_image(GTK_BUTTON(menuButton_),
                         gtk_image_new_from_icon_name("open-menu-symbolic", GTK_ICON_SIZE_MENU));
    gtk_button_set_relief(GTK_BUTTON(menuButton_), GTK_RELIEF_NONE);
    gtk_widget_set_tooltip_text(menuButton_, "Menu (F10)");
    gtk_widget_set_focus_on_click(menuButton_, FALSE);
    gtk_widget_set_halign(menuButton_, corner);
    gtk_widget_set_valign(menuButton_, GTK_ALIGN_START);
    gtk_widget_set_margin_top(menuButton_, 4);
    gtk_widget_set_margin_start(menuButton_, 4);
    gtk_widget_set_margin_end(menuButton_, 4);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), menuButton_);
    gtk_widget_show_all(overlay);
    return overlay;
}

void GtkMainMenu::attachToWindow(GtkWindow* window) {
    if (GTK_IS_APPLICATION_WINDOW(window)) {
        gtk_application_window_set_show_menubar(GTK_APPLICATION_WINDOW(window), FALSE);
    }
    window_ = window;
    g_object_add_weak_pointer(G_OBJECT(window_), reinterpret_cast<gpointer*>(&window_));
    g_signal_connect(window, "key-press-event", G_CALLBACK(onKeyPress), this);
}

gboolean GtkMainMenu::onKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* menu = static_cast<GtkMainMenu*>(self);
    auto modifiers = static_cast<GdkModifierType>(event->state & gtk_accelerator_get_default_mod_mask());
    if (event->keyval == GDK_KEY_F10 && modifiers == 0 && menu->menuButton_ != nullptr) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(menu->menuButton_), TRUE);
        return TRUE;
    }
    return menu->activateShiftedAccelerator(event, modifiers);
}

// GTK matches accelerators on the key value the keyboard produces, and Shift turns "/" into "?" on
// many layouts, so Shift-Ctrl-/ would never match "<Shift><Primary>slash". Look the key up again by
// its unshifted value, as the shortcut is written.
gboolean GtkMainMenu::activateShiftedAccelerator(GdkEventKey* event, GdkModifierType modifiers) {
    if ((modifiers & GDK_SHIFT_MASK) == 0) return FALSE;
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
    guint unshifted = 0;
    if (!gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode,
                                             static_cast<GdkModifierType>(event->state & ~GDK_SHIFT_MASK),
                                             event->group, &unshifted, nullptr, nullptr, nullptr) ||
        gdk_keyval_to_lower(event->keyval) == gdk_keyval_to_lower(unshifted)) {
        return FALSE;
    }
    gchar* accelerator = gtk_accelerator_name(unshifted, modifiers);
    gchar** actions = gtk_application_get_actions_for_accel(application_, accelerator);
    g_free(accelerator);
    gboolean handled = FALSE;
    for (gchar** detailed = actions; *detailed != nullptr && !handled; ++detailed) {
        if (!g_str_has_prefix(*detailed, "app.")) continue;
        const char* name = *detailed + 4;
        if (g_action_group_get_action_enabled(G_ACTION_GROUP(application_), name)) {
            g_action_group_activate_action(G_ACTION_GROUP(application_), name, nullptr);
            handled = TRUE;
        }
    }
    g_strfreev(actions);
    return handled;
}

void GtkMainMenu::onActivate(GSimpleAction*, GVariant*, gpointer data) {
    auto* record = static_cast<ItemRecord*>(data);
    if (record->item.activate) {
        record->item.activate();
    } else {
        record->owner->performStandardCommand(record->item.action);
    }
}

void GtkMainMenu::performStandardCommand(menus::MenuAction action) {
    if (action == menus::MenuAction::terminate) {
        // The application's shutdown runs the delegate's termination.
        g_application_quit(G_APPLICATION(application_));
        return;
    }
    if (action == menus::MenuAction::arrangeInFront) {
        for (GList* node = gtk_application_get_windows(application_); node != nullptr; node = node->next) {
            if (gtk_widget_get_visible(GTK_WIDGET(node->data))) gtk_window_present(GTK_WINDOW(node->data));
        }
        return;
    }
    GtkWindow* window = gtk_application_get_active_window(application_);
    if (window == nullptr) return;
    switch (action) {
    case menus::MenuAction::performClose:
        gtk_window_close(window);
        break;
    case menus::MenuAction::performMiniaturize:
        gtk_window_iconify(window);
        break;
    case menus::MenuAction::performZoom:
        if (gtk_window_is_maximized(window))
            gtk_window_unmaximize(window);
        else
            gtk_window_maximize(window);
        break;
    case menus::MenuAction::toggleFullScreen:
        if (hasWindowState(window, GDK_WINDOW_STATE_FULLSCREEN))
            gtk_window_unfullscreen(window);
        else
            gtk_window_fullscreen(window);
        break;
    default:
        performEditing(window, action);
        break;
    }
}

} // namespace vimbo::linuxdesktop
