// The GTK main menu against a real X server and WebKit: editing keys stay with the focused page,
// check marks and enabling are the actions' states, F10 opens the menu.
#include "linux/GtkMainMenu.h"
#include "core/menus/MainMenuController.h"
#include "core/menus/MenuActionRules.h"
#include "fakes/FakeMainMenu.h"
#include "fakes/RecordingMenuTarget.h"
#include "integration/support/MainLoop.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>
// After gtest: X11 defines None as a macro.
#include <gdk/gdkx.h>

#include <functional>
#include <memory>
#include <string>

using namespace vimbo;
using menus::MenuAction;

namespace {

bool iterateUntil(const std::function<bool()>& done) {
    return vimbo::testing::runUntil(done, 15);
}

bool actionState(GtkApplication* app, const char* action) {
    g_autoptr(GVariant) state = g_action_group_get_action_state(G_ACTION_GROUP(app), action);
    return state != nullptr && g_variant_get_boolean(state);
}

} // namespace

class GtkMainMenuTest : public ::testing::Test {
  protected:
    // One application and window for the suite: an application's object path can be exported once.
    static void SetUpTestSuite() {
        app = gtk_application_new("org.vimbo.MenuAdapterTest", G_APPLICATION_NON_UNIQUE);
        GError* error = nullptr;
        ASSERT_TRUE(g_application_register(G_APPLICATION(app), nullptr, &error)) << error->message;
        target = new fakes::RecordingMenuTarget;
        menu = new linuxdesktop::GtkMainMenu(app);
        controller = new menus::MainMenuController(*menu, *target);
        target->rule = [](MenuAction action) { return menus::validateMenuItem(action, controller, false); };
        menu->installAsMenubar();

        window = gtk_application_window_new(app);
        gtk_window_set_default_size(GTK_WINDOW(window), 640, 480);
        webView = webkit_web_view_new();
        gtk_container_add(GTK_CONTAINER(window), menu->overlayMenuButton(webView));
        menu->attachToWindow(GTK_WINDOW(window));
        webkit_web_view_load_html(WEBKIT_WEB_VIEW(webView),
                                  "<input id=field autofocus oninput='document.title=this.value'>", nullptr);
        gtk_widget_show_all(window);
        ASSERT_TRUE(iterateUntil([] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(webView)); }));
        gtk_widget_grab_focus(webView);
    }

    static void TearDownTestSuite() {
        gtk_widget_destroy(window);
        delete controller;
        delete menu;
        delete target;
        g_object_unref(app);
    }

    void SetUp() override { target->performed.clear(); }

    static std::function<bool()> titleIs(std::string expected) {
        return [expected] {
            const char* title = webkit_web_view_get_title(WEBKIT_WEB_VIEW(webView));
            return title != nullptr && title == expected;
        };
    }

    // Types keys into the window through the X server, as a user would, to the last key's release:
    // a Ctrl still held would turn the next F10 into Ctrl-F10.
    static void press(const std::string& keys) {
        auto xid = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(window)));
        ASSERT_TRUE(
            vimbo::testing::runCommand("xdotool windowfocus --sync " + xid + " key --delay 20 " + keys));
    }

    static inline GtkApplication* app = nullptr;
    static inline fakes::RecordingMenuTarget* target = nullptr;
    static inline linuxdesktop::GtkMainMenu* menu = nullptr;
    static inline menus::MainMenuController* controller = nullptr;
    static inline GtkWidget* window = nullptr;
    static inline GtkWidget* webView = nullptr;
};

TEST_F(GtkMainMenuTest, EditingKeysStayWithThePage) {
    press("ctrl+a a b c");
    ASSERT_TRUE(iterateUntil(titleIs("abc")));
    press("ctrl+a ctrl+x");
    ASSERT_TRUE(iterateUntil(titleIs("")));
    press("ctrl+v ctrl+v");
    ASSERT_TRUE(iterateUntil(titleIs("abcabc")));
    press("ctrl+z");
    ASSERT_TRUE(iterateUntil(titleIs("abc")));
    EXPECT_TRUE(target->performed.empty());
}

// Glow is enabled on the dark appearance only; its check mark changes when the page answers, not on the
// click.
TEST_F(GtkMainMenuTest, DisabledItemsDoNothingAndCheckedOnesWaitForThePage) {
    menus::NativeMenuState state;
    state.glow = true;
    for (bool dark : {false, true}) {
        state.dark = dark;
        controller->apply(state);
        g_action_group_activate_action(G_ACTION_GROUP(app), "toggleDisplayFromMenu-glow", nullptr);
        EXPECT_TRUE(actionState(app, "toggleDisplayFromMenu-glow"));
        EXPECT_EQ(target->performed.size(), dark ? 1u : 0u) << "dark " << dark;
    }
}

TEST_F(GtkMainMenuTest, F10OpensTheMenuInsideTheWindow) {
    // The button floats over the page, which keeps the whole window.
    GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(window))));
    GtkWidget* button = GTK_WIDGET(g_list_last(children)->data);
    g_list_free(children);
    ASSERT_TRUE(GTK_IS_MENU_BUTTON(button));
    EXPECT_EQ(gtk_menu_button_get_menu_model(GTK_MENU_BUTTON(button)), menu->model());
    GtkAllocation page;
    gtk_widget_get_allocation(webView, &page);
    EXPECT_EQ(page.y, 0);

    press("F10");
    ASSERT_TRUE(iterateUntil([&] { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button)); }));
    press("Escape");
    ASSERT_TRUE(iterateUntil([&] { return !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button)); }));
}

// Shift turns "/" into "?", yet Shift-Ctrl-/ still reaches the item whose shortcut is written with "/".
TEST_F(GtkMainMenuTest, MenuKeysReachTheTarget) {
    press("ctrl+5 ctrl+bracketleft ctrl+shift+slash");
    ASSERT_TRUE(iterateUntil([] { return target->performed.size() == 3; }));
    EXPECT_EQ(target->performed,
              (decltype(target->performed){{MenuAction::selectSkinFromMenu, std::int64_t{1}},
                                           {MenuAction::cycleSkinFromMenu, std::int64_t{-1}},
                                           {MenuAction::openSupport, {}}}));
}

TEST(GtkAcceleratorTest, EveryKeyEquivalentParsesAndShowsTheLabelOfTheShortcutSheet) {
    fakes::FakeMainMenu fake;
    fakes::RecordingMenuTarget target;
    menus::MainMenuController controller(fake, target);
    std::vector<menus::ShortcutKey> keys{{" ", 0}, {"f", 0}, {menus::kEscapeKey, 0}};
    for (const auto& item : fake.items)
        if (item.item.key) keys.push_back(*item.item.key);
    for (const auto& key : keys) {
        guint keyval = 0;
        GdkModifierType modifiers{};
        gtk_accelerator_parse(key.gtkAccelerator().c_str(), &keyval, &modifiers);
        ASSERT_NE(keyval, 0u) << key.gtkAccelerator();
        gchar* label = gtk_accelerator_get_label(keyval, modifiers);
        EXPECT_EQ(label, key.gtkLabel());
        g_free(label);
    }
}
