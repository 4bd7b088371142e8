#include "PrivateSessionBus.h"
#include "TestPortal.h"
#include "TestWatcher.h"

#include "core/menubar/MenuBarController.h"
#include "fakes/InMemoryDefaults.h"
#include "linux/DBusStatusBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace vimbo::linux {
namespace {

using testing::call;
using testing::runFor;
using testing::runUntil;

constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kMenuInterface = "com.canonical.dbusmenu";

// One menu entry as a panel host sees it.
struct HostMenuItem {
    int id = 0;
    std::string label;
    std::string type;
    std::string toggleType;
    int toggleState = -1;
    std::vector<std::vector<std::string>> shortcut;
    std::vector<HostMenuItem> children;

    const HostMenuItem* find(const std::string& wanted) const {
        if (label == wanted) return this;
        for (const auto& child : children)
            if (auto* found = child.find(wanted)) return found;
        return nullptr;
    }
};

HostMenuItem parseLayout(GVariant* node) {
    HostMenuItem item;
    GVariant* properties = nullptr;
    GVariantIter* children = nullptr;
    g_variant_get(node, "(i@a{sv}av)", &item.id, &properties, &children);
    const char* text = nullptr;
    if (g_variant_lookup(properties, "label", "&s", &text)) item.label = text;
    if (g_variant_lookup(properties, "type", "&s", &text)) item.type = text;
    if (g_variant_lookup(properties, "toggle-type", "&s", &text)) item.toggleType = text;
    g_variant_lookup(properties, "toggle-state", "i", &item.toggleState);
    if (GVariant* shortcut = g_variant_lookup_value(properties, "shortcut", G_VARIANT_TYPE("aas"))) {
        GVariantIter chords;
        g_variant_iter_init(&chords, shortcut);
        GVariant* chord = nullptr;
        while ((chord = g_variant_iter_next_value(&chords))) {
            gsize count = 0;
            const char** keys = g_variant_get_strv(chord, &count);
            item.shortcut.emplace_back(keys, keys + count);
            g_free(keys);
            g_variant_unref(chord);
        }
        g_variant_unref(shortcut);
    }
    GVariant* child = nullptr;
    while (g_variant_iter_next(children, "v", &child)) {
        item.children.push_back(parseLayout(child));
        g_variant_unref(child);
    }
    g_variant_iter_free(children);
    g_variant_unref(properties);
    return item;
}

class StatusItemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        appConnection = bus.connect();
        hostConnection = bus.connect();
        statusBar = std::make_unique<DBusStatusBar>(appConnection);
    }
    void TearDown() override {
        controller.reset();
        statusBar.reset();
        watcher.reset();
        runFor(0.05);
        g_object_unref(appConnection);
        g_object_unref(hostConnection);
    }

    void startController() {
        menubar::MenuBarActions actions;
        actions.openVimbo = [this] { ++opened; };
        actions.onHideFromMenu = [this] { ++hiddenFromMenu; };
        controller = std::make_unique<menubar::MenuBarController>(actions, defaults, *statusBar);
    }
    std::string itemName() const {
        return "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" + std::to_string(itemNumber);
    }
    GVariant* property(const char* name) {
        GVariant* reply =
            call(hostConnection, itemName().c_str(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties",
                 "Get", g_variant_new("(ss)", kItemInterface, name));
        if (!reply) return nullptr;
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        g_variant_unref(reply);
        return value;
    }
    HostMenuItem layout(unsigned* revision = nullptr) {
        GVariant* reply = call(hostConnection, itemName().c_str(), "/MenuBar", kMenuInterface, "GetLayout",
                               g_variant_new("(ii@as)", 0, -1, g_variant_new_strv(nullptr, 0)));
        if (!reply) return {};
        GVariant* node = nullptr;
        unsigned rev = 0;
        g_variant_get(reply, "(u@(ia{sv}av))", &rev, &node);
        if (revision) *revision = rev;
        HostMenuItem root = parseLayout(node);
        g_variant_unref(node);
        g_variant_unref(reply);
        return root;
    }
    void click(int id) {
        GVariant* reply = call(hostConnection, itemName().c_str(), "/MenuBar", kMenuInterface, "Event",
                               g_variant_new("(isvu)", id, "clicked", g_variant_new_int32(0), 0u));
        ASSERT_NE(reply, nullptr);
        g_variant_unref(reply);
    }
    guint subscribe(const char* interface, const char* signal, int* counter) {
        return g_dbus_connection_signal_subscribe(
            hostConnection, nullptr, interface, signal, nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant*,
               gpointer data) { ++*static_cast<int*>(data); },
            counter, nullptr);
    }
    bool registered() {
        return runUntil([&] { return controller->isReachable(); });
    }

    testing::PrivateSessionBus bus;
    GDBusConnection* appConnection = nullptr;
    GDBusConnection* hostConnection = nullptr;
    std::unique_ptr<DBusStatusBar> statusBar;
    std::unique_ptr<testing::TestWatcher> watcher;
    fakes::InMemoryDefaults defaults;
    std::unique_ptr<menubar::MenuBarController> controller;
    int itemNumber = 1;
    int opened = 0;
    int hiddenFromMenu = 0;
};

TEST_F(StatusItemTest, RegistersWithTheWatcherAndPublishesItsProperties) {
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    ASSERT_EQ(watcher->services.size(), 1u);
    EXPECT_EQ(watcher->services[0], itemName());

    auto text = [&](const char* name) {
        GVariant* value = property(name);
        std::string result = value ? g_variant_get_string(value, nullptr) : "?";
        if (value) g_variant_unref(value);
        return result;
    };
    EXPECT_EQ(text("Title"), "Vimbo");
    EXPECT_EQ(text("Id"), "vimbo");
    EXPECT_EQ(text("Category"), "ApplicationStatus");
    EXPECT_EQ(text("Status"), "Active");
    EXPECT_EQ(text("Menu"), "/MenuBar");
    GVariant* isMenu = property("ItemIsMenu");
    ASSERT_NE(isMenu, nullptr);
    EXPECT_TRUE(g_variant_get_boolean(isMenu));
    g_variant_unref(isMenu);
    GVariant* toolTip = property("ToolTip");
    ASSERT_NE(toolTip, nullptr);
    const char* toolTipTitle = nullptr;
    g_variant_get(toolTip, "(&s@a(iiay)&s&s)", nullptr, nullptr, &toolTipTitle, nullptr);
    EXPECT_STREQ(toolTipTitle, "Vimbo");
    g_variant_unref(toolTip);
}

TEST_F(StatusItemTest, IconPixmapCarriesTheRestingSlimeInNetworkOrder) {
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    GVariant* pixmaps = property("IconPixmap");
    ASSERT_NE(pixmaps, nullptr);
    ASSERT_EQ(g_variant_n_children(pixmaps), 2u);
    std::vector<int> sizes;
    for (gsize i = 0; i < 2; ++i) {
        gint32 width = 0;
        gint32 height = 0;
        GVariant* bytes = nullptr;
        g_variant_get_child(pixmaps, i, "(ii@ay)", &width, &height, &bytes);
        gsize length = 0;
        auto* data = static_cast<const guint8*>(g_variant_get_fixed_array(bytes, &length, 1));
        EXPECT_EQ(width, height);
        EXPECT_EQ(length, static_cast<gsize>(width * height * 4));
        sizes.push_back(width);
        if (width == 36) {
            auto at = [&](int x, int y) { return data + (y * 36 + x) * 4; };
            // Below and right of the centre: alpha 0.9 first, then black (light desktop).
            EXPECT_NEAR(at(24, 22)[0], 230, 2);
            EXPECT_EQ(at(24, 22)[1], 0);
            // The highlight spot up and left of the centre keeps half of it.
            EXPECT_NEAR(at(14, 12)[0], 115, 3);
            EXPECT_EQ(at(0, 0)[0], 0);
        }
        g_variant_unref(bytes);
    }
    EXPECT_EQ(sizes, (std::vector<int>{36, 18}));
    g_variant_unref(pixmaps);
}

TEST_F(StatusItemTest, DarkDesktopGetsALightIcon) {
    testing::TestPortal portal(hostConnection, 1);
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    int newIcons = 0;
    subscribe(kItemInterface, "NewIcon", &newIcons);
    auto redAt = [&](int x, int y) {
        GVariant* pixmaps = property("IconPixmap");
        GVariant* bytes = nullptr;
        g_variant_get_child(pixmaps, 0, "(ii@ay)", nullptr, nullptr, &bytes);
        gsize length = 0;
        auto* data = static_cast<const guint8*>(g_variant_get_fixed_array(bytes, &length, 1));
        int red = data[(y * 36 + x) * 4 + 1];
        g_variant_unref(bytes);
        g_variant_unref(pixmaps);
        return red;
    };
    ASSERT_TRUE(runUntil([&] { return newIcons > 0; }));
    EXPECT_EQ(redAt(24, 22), 255);
    portal.change(2); // prefer light
    ASSERT_TRUE(runUntil([&] { return newIcons > 1; }));
    EXPECT_EQ(redAt(24, 22), 0);
}

TEST_F(StatusItemTest, NewIconStaysUnderThirtyASecondWhileSoundPlays) {
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    int newIcons = 0;
    guint subscription = subscribe(kItemInterface, "NewIcon", &newIcons);
    // Like a panel, read the pixmaps again on every NewIcon.
    std::string name = itemName();
    guint rereads = g_dbus_connection_signal_subscribe(
        hostConnection, nullptr, kItemInterface, "NewIcon", nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection* connection, const char* sender, const char*, const char*, const char*, GVariant*,
           gpointer) {
            g_dbus_connection_call(connection, sender, "/StatusNotifierItem",
                                   "org.freedesktop.DBus.Properties", "GetAll",
                                   g_variant_new("(s)", "org.kde.StatusNotifierItem"), nullptr,
                                   G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
        },
        nullptr, nullptr);
    runFor(0.1);
    newIcons = 0;
    // One second of 60 Hz ticks with a loud, beating signal.
    rusage usageBefore{};
    getrusage(RUSAGE_SELF, &usageBefore);
    gint64 start = g_get_monotonic_time();
    int ticks = 0;
    while (g_get_monotonic_time() - start < 1000000) {
        double now = static_cast<double>(g_get_monotonic_time()) / 1e6;
        audio::AudioFeatures features;
        features.level = features.bass = features.energy = static_cast<float>(0.5 + 0.5 * std::sin(now * 9));
        features.mid = features.treble = 0.6f;
        features.beat = ticks % 30 == 0 ? 1.0f : 0.0f;
        controller->update(features, now);
        ++ticks;
        runFor(1.0 / 60);
    }
    rusage usageAfter{};
    getrusage(RUSAGE_SELF, &usageAfter);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    // Both ends of the bus live in this process: the item and a host reading every NewIcon.
    RecordProperty("newIconsPerSecond", newIcons);
    RecordProperty("processCpuMillisecondsPerSecond",
                   static_cast<int>(1000 * (seconds(usageAfter.ru_utime) - seconds(usageBefore.ru_utime) +
                                            seconds(usageAfter.ru_stime) - seconds(usageBefore.ru_stime))));
    runFor(0.1);
    EXPECT_GE(ticks, 40);
    EXPECT_LE(newIcons, 32);
    EXPECT_GE(newIcons, 15);
    g_dbus_connection_signal_unsubscribe(hostConnection, subscription);
    g_dbus_connection_signal_unsubscribe(hostConnection, rereads);

    // Silence with audio reaction off still animates, but an unchanged picture is never re-sent.
    int before = newIcons;
    controller->setVisible(true, false);
    runFor(0.1);
    EXPECT_EQ(newIcons, before);
}

TEST_F(StatusItemTest, MenuLayoutHasTheTitlesChecksAndShortcut) {
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    HostMenuItem root = layout();
    ASSERT_EQ(root.children.size(), 8u);
    const auto& skin = root.children[0];
    EXPECT_EQ(skin.label, "Skin");
    ASSERT_EQ(skin.children.size(), 3u);
    EXPECT_EQ(skin.children[0].label, "Slime");
    EXPECT_EQ(skin.children[1].label, "Dust");
    EXPECT_EQ(skin.children[2].label, "Dandelion");
    EXPECT_EQ(skin.children[0].toggleType, "radio");
    EXPECT_EQ(skin.children[0].toggleState, 1);
    EXPECT_EQ(skin.children[2].toggleState, 0);
    EXPECT_EQ(root.children[1].label, "Audio Reactive");
    EXPECT_EQ(root.children[1].toggleType, "checkmark");
    EXPECT_EQ(root.children[1].toggleState, 1);
    EXPECT_EQ(root.children[2].type, "separator");
    EXPECT_EQ(root.children[3].label, "Open Vimbo");
    EXPECT_EQ(root.children[4].label, "Check for Updates\u2026");
    EXPECT_EQ(root.children[5].label, "Hide Menu Bar Icon");
    EXPECT_EQ(root.children[6].type, "separator");
    EXPECT_EQ(root.children[7].label, "Quit Vimbo");
    EXPECT_EQ(root.children[7].shortcut, (std::vector<std::vector<std::string>>{{"Control", "q"}}));
    EXPECT_TRUE(root.children[3].shortcut.empty());
}

TEST_F(StatusItemTest, ClickingASkinStoresItAndUpdatesTheChecks) {
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    int propertyUpdates = 0;
    int layoutUpdates = 0;
    subscribe(kMenuInterface, "ItemsPropertiesUpdated", &propertyUpdates);
    subscribe(kMenuInterface, "LayoutUpdated", &layoutUpdates);
    unsigned revision = 0;
    HostMenuItem root = layout(&revision);
    const HostMenuItem* dandelion = root.find("Dandelion");
    ASSERT_NE(dandelion, nullptr);
    click(dandelion->id);
    ASSERT_TRUE(runUntil([&] { return defaults.values.count("menuBarSkin") == 1; }));
    EXPECT_EQ(std::get<std::string>(defaults.values["menuBarSkin"]), "parasite");
    ASSERT_TRUE(runUntil([&] { return propertyUpdates > 0; }));
    unsigned after = 0;
    root = layout(&after);
    EXPECT_EQ(after, revision);
    EXPECT_EQ(layoutUpdates, 0);
    EXPECT_EQ(root.find("Dandelion")->toggleState, 1);
    EXPECT_EQ(root.find("Slime")->toggleState, 0);

    click(root.find("Audio Reactive")->id);
    ASSERT_TRUE(runUntil([&] { return defaults.values.count("menuBarAudioReactive") == 1; }));
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarAudioReactive"]));
    click(root.find("Open Vimbo")->id);
    EXPECT_TRUE(runUntil([&] { return opened == 1; }));

    // Opening the menu is answered; an unknown id is an error, not a crash.
    GVariant* reply = call(hostConnection, itemName().c_str(), "/MenuBar", kMenuInterface, "AboutToShow",
                           g_variant_new("(i)", 0));
    ASSERT_NE(reply, nullptr);
    g_variant_unref(reply);
    std::string error;
    EXPECT_EQ(call(hostConnection, itemName().c_str(), "/MenuBar", kMenuInterface, "Event",
                   g_variant_new("(isvu)", 999, "clicked", g_variant_new_int32(0), 0u), &error),
              nullptr);
    EXPECT_FALSE(error.empty());
}

TEST_F(StatusItemTest, HideMenuBarIconRemovesTheItemAndRemembers) {
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    startController();
    ASSERT_TRUE(registered());
    HostMenuItem root = layout();
    click(root.find("Hide Menu Bar Icon")->id);
    ASSERT_TRUE(runUntil([&] { return hiddenFromMenu == 1; }));
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarVisible"]));
    EXPECT_FALSE(controller->isVisible());
    EXPECT_FALSE(controller->isReachable());
    // The bus name is released, so hosts drop the icon.
    std::string name = itemName();
    EXPECT_TRUE(runUntil([&] {
        GVariant* reply = call(hostConnection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                               "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", name.c_str()));
        gboolean owned = TRUE;
        if (reply) {
            g_variant_get(reply, "(b)", &owned);
            g_variant_unref(reply);
        }
        return !owned;
    }));

    // Showing it again (as the page may ask) registers a new item.
    controller->setVisible(true, true);
    itemNumber = 2;
    ASSERT_TRUE(registered());
    EXPECT_EQ(watcher->services.back(), itemName());
}

TEST_F(StatusItemTest, WatcherThatAppearsLaterOrRestartsGetsTheIcon) {
    startController();
    runFor(0.2);
    EXPECT_TRUE(controller->isVisible());
    EXPECT_FALSE(controller->isReachable());
    std::vector<bool> changes;
    controller->setOnReachableChanged([&](bool reachable) { changes.push_back(reachable); });

    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    ASSERT_TRUE(registered());
    watcher.reset();
    ASSERT_TRUE(runUntil([&] { return !controller->isReachable(); }));
    watcher = std::make_unique<testing::TestWatcher>(hostConnection);
    ASSERT_TRUE(registered());
    EXPECT_EQ(watcher->services.size(), 1u);
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true}));
}

} // namespace
} // namespace vimbo::linux
