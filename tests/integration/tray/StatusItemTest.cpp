#include "core/menubar/MenuBarController.h"
#include "fakes/InMemoryDefaults.h"
#include "integration/support/PrivateSessionBus.h"
#include "linux/DBusStatusBar.h"
#include "linux/GLibSystemLog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <unistd.h>

namespace vimbo::linuxdesktop {
namespace {

using testing::call;
using testing::runFor;
using testing::runUntil;
using Connection = std::unique_ptr<GDBusConnection, void (*)(gpointer)>;

constexpr const char* kMenuInterface = "com.canonical.dbusmenu";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

// The app's item on one connection; a panel host, its watcher and the settings portal on another.
class StatusItemTest : public ::testing::Test {
  protected:
    StatusItemTest() {
        subscription = g_dbus_connection_signal_subscribe(
            host.get(), nullptr, nullptr, nullptr, nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const char*, const char*, const char*, const char* name, GVariant*,
               gpointer data) { ++(*static_cast<std::map<std::string, int>*>(data))[name]; },
            &received, nullptr);
    }
    ~StatusItemTest() override { g_dbus_connection_signal_unsubscribe(host.get(), subscription); }

    void startWatcher() {
        watcher = std::make_unique<testing::TestBusObject>(
            host.get(), "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
            R"(<node><interface name="org.kde.StatusNotifierWatcher"><method name="RegisterStatusNotifierItem">
               <arg type="s" direction="in"/></method></interface></node>)",
            [this](const char*, GVariant* parameters) -> GVariant* {
                const char* service = nullptr;
                g_variant_get(parameters, "(&s)", &service);
                registrations.emplace_back(service);
                return nullptr;
            });
    }
    // With a watcher, true once the item is registered.
    bool start(bool withWatcher = true) {
        if (withWatcher) startWatcher();
        menubar::MenuBarActions actions;
        actions.openVimbo = [this] { ++opened; };
        controller = std::make_unique<menubar::MenuBarController>(actions, defaults, *statusBar);
        return !withWatcher || reachable();
    }
    bool reachable() {
        return runUntil([&] { return controller->isReachable(); });
    }
    std::string itemName() const { return "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-1"; }
    GVariant* itemCall(const char* path, const char* interface, const char* method, GVariant* parameters) {
        return call(host.get(), itemName().c_str(), path, interface, method, parameters);
    }
    // A call's reply as text ("?" for an error); the parameters in GVariant text form.
    std::string callText(const char* path, const char* interface, const char* method,
                         const char* parameters) {
        g_autoptr(GVariant) reply = itemCall(path, interface, method, g_variant_new_parsed(parameters));
        g_autofree gchar* text = reply ? g_variant_print(reply, FALSE) : g_strdup("?");
        return text;
    }
    std::string menuCall(const char* method, const char* parameters) {
        return callText("/MenuBar", kMenuInterface, method, parameters);
    }
    // A byte of the 36-pixel icon (ARGB, network order), or -1 without one.
    int largeIconByte(int x, int y, int channel) {
        g_autoptr(GVariant) reply =
            itemCall("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                     g_variant_new("(ss)", "org.kde.StatusNotifierItem", "IconPixmap"));
        g_autoptr(GVariant) pixmaps = nullptr;
        if (reply) g_variant_get(reply, "(v)", &pixmaps);
        for (gsize i = 0; pixmaps && i < g_variant_n_children(pixmaps); ++i) {
            gint32 width = 0, height = 0;
            g_autoptr(GVariant) bytes = nullptr;
            g_variant_get_child(pixmaps, i, "(ii@ay)", &width, &height, &bytes);
            gsize length = 0;
            auto* data = static_cast<const guint8*>(g_variant_get_fixed_array(bytes, &length, 1));
            if (width == 36 && height == 36 && length == 36 * 36 * 4) return data[(y * 36 + x) * 4 + channel];
        }
        return -1;
    }
    // Clicks the menu entry of that id (4 is Dandelion, 7 Open Vimbo).
    std::string click(int id) {
        return menuCall("Event", ("(" + std::to_string(id) + ", 'clicked', <0>, uint32 0)").c_str());
    }

    testing::PrivateSessionBus bus;
    std::map<std::string, int> received; // signals seen by the host, by name
    Connection app{bus.connect(), g_object_unref};
    Connection host{bus.connect(), g_object_unref};
    guint subscription = 0;
    std::vector<std::string> registrations;
    std::unique_ptr<testing::TestBusObject> watcher;
    fakes::InMemoryDefaults defaults;
    linuxdesktop::GLibSystemLog systemLog;
    std::unique_ptr<DBusStatusBar> statusBar = std::make_unique<DBusStatusBar>(app.get(), systemLog);
    std::unique_ptr<menubar::MenuBarController> controller;
    int opened = 0;
};

TEST_F(StatusItemTest, RegistersAndPublishesItsPropertiesIconAndMenu) {
    ASSERT_TRUE(start());
    EXPECT_EQ(registrations, std::vector<std::string>{itemName()});
    const std::pair<const char*, const char*> properties[] = {{"Title", "'Vimbo'"},
                                                              {"Status", "'Active'"},
                                                              {"Menu", "objectpath '/MenuBar'"},
                                                              {"ItemIsMenu", "true"}};
    for (auto [name, value] : properties) {
        auto parameters = "('org.kde.StatusNotifierItem', '" + std::string(name) + "')";
        EXPECT_EQ(
            callText("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get", parameters.c_str()),
            "(<" + std::string(value) + ">,)");
    }
    // The resting slime at twice the size, alpha first: 0.9 right of the centre, black on a light
    // desktop; the highlight up and left keeps half of it.
    EXPECT_NEAR(largeIconByte(24, 22, 0), 230, 2);
    EXPECT_EQ(largeIconByte(24, 22, 1), 0);
    EXPECT_NEAR(largeIconByte(14, 12, 0), 115, 3);
    EXPECT_EQ(largeIconByte(0, 0, 0), 0);

    // How a panel reads each kind of entry (the controller's tests pin which entries there are): the
    // Skin submenu, a radio, the Audio Reactive check box, a separator and Quit's shortcut.
    const auto shown = menuCall("GetGroupProperties", "([1, 2, 5, 6, 11], ['children-display', "
                                                      "'toggle-type', 'toggle-state', 'type', 'shortcut'])");
    EXPECT_EQ(
        shown,
        "([(1, {'type': <'standard'>, 'children-display': <'submenu'>}), "
        "(2, {'type': <'standard'>, 'toggle-type': <'radio'>, 'toggle-state': <1>}), "
        "(5, {'type': <'standard'>, 'toggle-type': <'checkmark'>, 'toggle-state': <1>}), "
        "(6, {'type': <'separator'>}), (11, {'type': <'standard'>, 'shortcut': <[['Control', 'q']]>})],)");
    EXPECT_THAT(menuCall("GetLayout", "(1, -1, ['label'])"), // after the revision: the submenu's tree
                ::testing::EndsWith(
                    ", (1, {'label': <'Skin'>}, [<(2, {'label': <'Slime'>}, @av [])>, "
                    "<(3, {'label': <'Dust'>}, @av [])>, <(4, {'label': <'Dandelion'>}, @av [])>]))"));
}

TEST_F(StatusItemTest, IconFollowsTheDesktopColorScheme) {
    std::uint32_t colorScheme = 1; // prefer dark
    testing::TestBusObject portal(
        host.get(), "org.freedesktop.portal.Desktop", kPortalPath,
        R"(<node><interface name="org.freedesktop.portal.Settings"><method name="Read"><arg type="s" direction="in"/>
           <arg type="s" direction="in"/><arg type="v" direction="out"/></method></interface></node>)",
        [&](const char*, GVariant*) { // Read wraps the value in one more variant
            return g_variant_new("(v)", g_variant_new_variant(g_variant_new_uint32(colorScheme)));
        });
    ASSERT_TRUE(start());
    EXPECT_TRUE(runUntil([&] { return largeIconByte(24, 22, 1) == 255; })); // white
    colorScheme = 2;                                                        // prefer light
    g_dbus_connection_emit_signal(host.get(), nullptr, kPortalPath, "org.freedesktop.portal.Settings",
                                  "SettingChanged",
                                  g_variant_new("(ssv)", "org.freedesktop.appearance", "color-scheme",
                                                g_variant_new_uint32(colorScheme)),
                                  nullptr);
    EXPECT_TRUE(runUntil([&] { return largeIconByte(24, 22, 1) == 0; }));
}

TEST_F(StatusItemTest, NewIconStaysUnderThirtyASecondWhileSoundPlays) {
    ASSERT_TRUE(start());
    runFor(0.1);
    received["NewIcon"] = 0;
    // One second of 60 Hz ticks with a loud, beating signal.
    gint64 start = g_get_monotonic_time();
    int ticks = 0;
    for (; g_get_monotonic_time() - start < 1000000; ++ticks) {
        float beat = ticks % 30 == 0 ? 1.0f : 0.0f;
        controller->update({.level = 0.8f, .bass = 0.8f, .beat = beat},
                           static_cast<double>(g_get_monotonic_time()) / 1e6);
        runFor(1.0 / 60);
    }
    runFor(0.1);
    int newIcons = received["NewIcon"];
    EXPECT_GE(ticks, 40);
    EXPECT_GE(newIcons, 15);
    EXPECT_LE(newIcons, 32);
    runFor(0.2); // without new frames nothing more is sent
    EXPECT_EQ(received["NewIcon"], newIcons);
}

TEST_F(StatusItemTest, MenuCallsReachTheControllerAndUpdateOnlyTheChecks) {
    ASSERT_TRUE(start());
    const auto layout = menuCall("GetLayout", "(0, -1, ['label'])"); // its revision and labels
    received.clear();
    EXPECT_EQ(click(4), "()");
    ASSERT_TRUE(runUntil([&] { return received["ItemsPropertiesUpdated"] > 0; }));
    EXPECT_EQ(menuCall("GetLayout", "(0, -1, ['label'])"), layout);
    EXPECT_EQ(received["LayoutUpdated"], 0);
    EXPECT_EQ(click(999), "?"); // an unknown id is an error, not a crash

    EXPECT_EQ(menuCall("GetGroupProperties", "([2, 4, 999], ['toggle-state'])"),
              "([(2, {'toggle-state': <0>}), (4, {'toggle-state': <1>})],)");
    EXPECT_EQ(menuCall("EventGroup", "([(7, 'clicked', <0>, uint32 0), (999, 'clicked', <0>, uint32 0)],)"),
              "([999],)");
    EXPECT_TRUE(runUntil([&] { return opened == 1; }));
    // Opening the menu only refreshes check marks: nothing for the host to fetch again.
    EXPECT_EQ(menuCall("AboutToShow", "(0,)"), "(false,)");
}

TEST_F(StatusItemTest, WatcherThatAppearsLaterOrRestartsGetsTheIcon) {
    ASSERT_TRUE(start(false));
    runFor(0.2);
    EXPECT_TRUE(controller->isVisible());
    EXPECT_FALSE(controller->isReachable());
    std::vector<bool> changes;
    controller->setOnReachableChanged([&](bool reachable) { changes.push_back(reachable); });
    startWatcher();
    ASSERT_TRUE(reachable());
    watcher.reset();
    ASSERT_TRUE(runUntil([&] { return !controller->isReachable(); }));
    startWatcher();
    ASSERT_TRUE(reachable());
    EXPECT_EQ(registrations.size(), 2u);
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true}));
}

} // namespace
} // namespace vimbo::linuxdesktop
