#include "integration/support/PrivateSessionBus.h"

#include "linux/AtSpiAccessibilityTree.h"
#include "linux/DesktopNotificationPrompt.h"
#include "linux/MprisMediaSessionTitles.h"
#include "linux/ProcFsProcessTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace vimbo::linuxdesktop {
namespace {

using testing::offThread;
using testing::runUntil;
using Connection = std::unique_ptr<GDBusConnection, void (*)(gpointer)>;

constexpr const char* kAccessibleXml = R"xml(<node><interface name="org.a11y.atspi.Accessible">
    <method name="GetChildren"><arg type="a(so)" direction="out"/></method>
    <property name="Name" type="s" access="read"/></interface></node>)xml";

// This process plays the browser: its player, its accessibility tree and the desktop's services all
// live on one private bus, which also stands in for the accessibility bus.
class BrowserTitleAdaptersTest : public ::testing::Test {
  protected:
    GVariant* children(const std::vector<std::string>& paths) {
        GVariantBuilder builder;
        g_variant_builder_init(&builder, G_VARIANT_TYPE("a(so)"));
        for (const auto& path : paths)
            g_variant_builder_add(&builder, "(so)", g_dbus_connection_get_unique_name(server.get()),
                                  path.c_str());
        return g_variant_new("(a(so))", &builder);
    }
    void serveElement(const char* path, const char* name, std::vector<std::string> childPaths,
                      const char* busName = nullptr) {
        auto answer = [=, this](const char* member, GVariant*) -> GVariant* {
            return std::string_view(member) == "Name" ? g_variant_new_string(name) : children(childPaths);
        };
        served.push_back(
            std::make_unique<testing::TestBusObject>(server.get(), busName, path, kAccessibleXml, answer));
    }

    testing::PrivateSessionBus bus;
    Connection server{bus.connect(), g_object_unref};
    Connection client{bus.connect(), g_object_unref};
    std::vector<std::unique_ptr<testing::TestBusObject>> served;
};

TEST_F(BrowserTitleAdaptersTest, MediaTitleComesFromThePlayerOfTheSameProcess) {
    MprisMediaSessionTitles titles(client.get());
    EXPECT_EQ(offThread([&] { return titles.mediaTitle(getpid()); }), std::nullopt);
    served.push_back(std::make_unique<testing::TestBusObject>(
        server.get(), "org.mpris.MediaPlayer2.firefox.instance_1_7", "/org/mpris/MediaPlayer2",
        R"(<node><interface name="org.mpris.MediaPlayer2.Player">
           <property name="Metadata" type="a{sv}" access="read"/></interface></node>)",
        [](const char*, GVariant*) {
            GVariantDict metadata;
            g_variant_dict_init(&metadata, nullptr);
            g_variant_dict_insert(&metadata, "xesam:title", "s", "Song - YouTube");
            return g_variant_dict_end(&metadata);
        }));
    EXPECT_EQ(offThread([&] { return titles.mediaTitle(getpid()); }), "Song - YouTube");
    EXPECT_EQ(offThread([&] { return titles.mediaTitle(getppid()); }), std::nullopt);
}

TEST_F(BrowserTitleAdaptersTest, AccessibilityTreeIsReadThroughTheRegistryOfTheAccessibilityBus) {
    AtSpiAccessibilityTree tree(client.get());
    EXPECT_FALSE(offThread([&] { return tree.isTrusted(); }));
    served.push_back(std::make_unique<testing::TestBusObject>(
        server.get(), "org.a11y.Bus", "/org/a11y/bus",
        R"(<node><interface name="org.a11y.Bus"><method name="GetAddress"><arg type="s" direction="out"/>
           </method></interface></node>)",
        [this](const char*, GVariant*) {
            return g_variant_new("(s)", g_getenv("DBUS_SESSION_BUS_ADDRESS"));
        }));
    serveElement("/org/a11y/atspi/accessible/root", "main", {"/app"}, "org.a11y.atspi.Registry");
    serveElement("/app", "Firefox", {"/org/a11y/atspi/null", "/tab"});
    serveElement("/tab", "Song - YouTube", {});
    ASSERT_TRUE(offThread([&] { return tree.isTrusted(); }));
    const auto application = offThread([&] { return tree.application(getpid()); });
    ASSERT_EQ(application,
              (platform::AccessibleElement{g_dbus_connection_get_unique_name(server.get()), "/app"}));
    const auto tabs = offThread([&] { return tree.children(*application); });
    ASSERT_EQ(tabs->size(), 1u);
    EXPECT_EQ(offThread([&] { return tree.title(tabs->front()); }), "Song - YouTube");
    EXPECT_EQ(offThread([&] { return tree.application(getppid()); }), std::nullopt);
}

TEST_F(BrowserTitleAdaptersTest, PromptIsOneNotificationTellingHowToTurnAccessibilityOn) {
    std::vector<std::string> summaries;
    served.push_back(std::make_unique<testing::TestBusObject>(
        server.get(), "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
        R"(<node><interface name="org.freedesktop.Notifications"><method name="Notify">
           <arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/><arg type="as"/>
           <arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/></method></interface></node>)",
        [&](const char*, GVariant* parameters) {
            summaries.emplace_back(g_variant_get_string(g_variant_get_child_value(parameters, 3), nullptr));
            return g_variant_new("(u)", 1u);
        }));
    DesktopNotificationPrompt(client.get()).show();
    EXPECT_TRUE(runUntil([&] { return !summaries.empty(); }));
    EXPECT_EQ(summaries, std::vector<std::string>{DesktopNotificationPrompt::kSummary});
}

TEST(ProcFsProcessTableTest, ReadsParentProgramAndApplicationMode) {
    const auto self = ProcFsProcessTable().entry(getpid());
    ASSERT_TRUE(self);
    EXPECT_EQ(self->parent, getppid());
    EXPECT_EQ(self->executable, "nowplaying_integration_tests");
    EXPECT_FALSE(self->applicationMode);
    EXPECT_EQ(ProcFsProcessTable().entry(0), std::nullopt);
}

} // namespace
} // namespace vimbo::linuxdesktop
