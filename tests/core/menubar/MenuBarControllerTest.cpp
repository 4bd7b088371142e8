#include "core/menubar/MenuBarController.h"

#include "fakes/FakeStatusBar.h"
#include "fakes/InMemoryDefaults.h"
#include "fakes/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vimbo::menubar {
namespace {

using platform::StatusMenuItem;

class MenuBarControllerTest : public ::testing::Test {
  protected:
    std::unique_ptr<MenuBarController> make() {
        MenuBarActions actions{[this] { ++opened; }, [this] { ++updateChecks; }, [this] { ++quits; },
                               [this] { ++hiddenFromMenu; }};
        return std::make_unique<MenuBarController>(actions, defaults, statusBar);
    }
    const std::vector<StatusMenuItem>& menu() const { return statusBar.state->menu; }
    static audio::AudioFeatures features(float level, float beat = 0) {
        audio::AudioFeatures f;
        f.level = level;
        f.beat = beat;
        return f;
    }

    fakes::InMemoryDefaults defaults;
    fakes::FakeStatusBar statusBar;
    int opened = 0, updateChecks = 0, quits = 0, hiddenFromMenu = 0;
};

TEST_F(MenuBarControllerTest, FreshPreferencesGiveSlimeReactiveVisible) {
    auto controller = make();
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::slime);
    EXPECT_TRUE(controller->audioReactive());
    EXPECT_TRUE(controller->isVisible());
    EXPECT_TRUE(statusBar.itemExists());
    EXPECT_EQ(statusBar.state->label, "Vimbo");
    EXPECT_EQ(statusBar.state->imageCount, 1); // the resting image
    EXPECT_TRUE(defaults.values.empty());      // nothing stored by starting
}

TEST_F(MenuBarControllerTest, PreferenceFallbacks) {
    defaults.values["menuBarSkin"] = std::string("glitter");
    defaults.values["menuBarAudioReactive"] = false;
    defaults.values["menuBarVisible"] = std::string("no");
    auto controller = make();
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::slime);
    EXPECT_FALSE(controller->audioReactive()); // a stored false stays false
    EXPECT_TRUE(controller->isVisible());      // unusable value reads as the default

    defaults.values["menuBarSkin"] = std::string("parasite");
    defaults.values["menuBarVisible"] = false;
    controller.reset();
    controller = make();
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::parasite);
    EXPECT_FALSE(controller->isVisible());
    EXPECT_FALSE(statusBar.itemExists());
}

TEST_F(MenuBarControllerTest, MenuTitlesChecksAndQuitKey) {
    auto controller = make();
    const auto& items = menu();
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].kind, StatusMenuItem::Kind::submenu);
    EXPECT_EQ(items[0].title, "Skin");
    ASSERT_EQ(items[0].children.size(), 3u);
    EXPECT_EQ(items[0].children[0].title, "Slime");
    EXPECT_EQ(items[0].children[1].title, "Dust");
    EXPECT_EQ(items[0].children[2].title, "Dandelion");
    EXPECT_EQ(items[0].children[2].representedObject, "parasite");
    EXPECT_TRUE(items[0].children[0].checked);
    EXPECT_FALSE(items[0].children[2].checked);
    EXPECT_EQ(items[1].title, "Audio Reactive");
    EXPECT_TRUE(items[1].checked);
    EXPECT_EQ(items[2].kind, StatusMenuItem::Kind::separator);
    EXPECT_EQ(items[3].title, "Open Vimbo");
    EXPECT_EQ(items[4].title, "Check for Updates\u2026");
    EXPECT_EQ(items[5].title, "Hide Menu Bar Icon");
    EXPECT_EQ(items[6].kind, StatusMenuItem::Kind::separator);
    EXPECT_EQ(items[7].title, "Quit Vimbo");
    EXPECT_EQ(items[7].keyEquivalent, "q");
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_TRUE(items[i].keyEquivalent.empty());
}

TEST_F(MenuBarControllerTest, SelectingSkinsStoresRawValueAndRedrawsAtRest) {
    auto controller = make();
    int images = statusBar.state->imageCount;
    statusBar.click("selectSkin:", "parasite");
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::parasite);
    EXPECT_EQ(std::get<std::string>(defaults.values["menuBarSkin"]), "parasite");
    EXPECT_TRUE(menu()[0].children[2].checked);
    EXPECT_FALSE(menu()[0].children[0].checked);
    EXPECT_EQ(statusBar.state->imageCount, images + 1);
    EXPECT_EQ(controller->renderer().time(), 0); // drawn with a zero step

    statusBar.click("selectSkin:", "parasite"); // already selected: stored and redrawn again
    EXPECT_EQ(statusBar.state->imageCount, images + 2);
    statusBar.click("selectSkin:", "Dandelion"); // titles are not skin names
    statusBar.click("noSuchAction:", "dust");
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::parasite);
    EXPECT_EQ(statusBar.state->imageCount, images + 2);
}

TEST_F(MenuBarControllerTest, CallbacksReachTheApplication) {
    auto controller = make();
    statusBar.click("openVimboAction:");
    statusBar.click("checkForUpdatesAction:");
    statusBar.click("quitVimboAction:");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(updateChecks, 1);
    EXPECT_EQ(quits, 1);
    MenuBarController withoutCallbacks({}, defaults, statusBar);
    statusBar.click("quitVimboAction:"); // empty callbacks do nothing
}

TEST_F(MenuBarControllerTest, HideFromMenuStoresRemovesAndTellsThePage) {
    auto controller = make();
    statusBar.click("hideMenuBarAction:");
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarVisible"]));
    EXPECT_FALSE(controller->isVisible());
    EXPECT_FALSE(statusBar.itemExists());
    EXPECT_EQ(hiddenFromMenu, 1);
    controller->perform("hideMenuBarAction:", ""); // already hidden: still tells the page
    EXPECT_EQ(hiddenFromMenu, 2);
    controller.reset();
    controller = make(); // the next launch starts without the icon
    EXPECT_FALSE(statusBar.itemExists());
}

TEST_F(MenuBarControllerTest, SetVisibleCreatesOnlyWhatIsMissing) {
    auto controller = make();
    EXPECT_EQ(statusBar.created, 1);
    controller->setVisible(true, false);
    EXPECT_EQ(statusBar.created, 1);
    EXPECT_EQ(defaults.values.count("menuBarVisible"), 0u);
    controller->setVisible(false, true);
    EXPECT_FALSE(statusBar.itemExists());
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarVisible"]));
    controller->setVisible(true, true);
    EXPECT_EQ(statusBar.created, 2);
    EXPECT_TRUE(std::get<bool>(defaults.values["menuBarVisible"]));
}

TEST_F(MenuBarControllerTest, UpdateSamplesSmoothsAndRenders) {
    auto controller = make();
    int images = statusBar.state->imageCount;
    controller->update(features(1), 50);
    EXPECT_EQ(statusBar.state->imageCount, images + 1);
    EXPECT_DOUBLE_EQ(controller->motion().current.level, 1 - std::exp(-22.0 / 60));
    EXPECT_DOUBLE_EQ(controller->renderer().time(), 1.0 / 60);
    controller->update(features(1, 1.0f), 50.010); // skipped; its beat waits
    EXPECT_EQ(statusBar.state->imageCount, images + 1);
    controller->update(features(1), 50.5);
    EXPECT_EQ(statusBar.state->imageCount, images + 2);
    EXPECT_EQ(controller->motion().current.beat, 1.0);
    EXPECT_DOUBLE_EQ(controller->renderer().time(), 1.0 / 60 + 0.1);
}

TEST_F(MenuBarControllerTest, HiddenIconProcessesNoFrames) {
    auto controller = make();
    controller->setVisible(false, false);
    controller->update(features(1), 1);
    EXPECT_FALSE(controller->frameSampler().lastRenderTime);
    EXPECT_EQ(controller->renderer().time(), 0);
}

TEST_F(MenuBarControllerTest, AudioReactiveToggleZeroesAtOnceButIconKeepsMoving) {
    auto controller = make();
    controller->update(features(1), 1);
    statusBar.click("toggleAudioReactive:");
    EXPECT_FALSE(controller->audioReactive());
    EXPECT_FALSE(std::get<bool>(defaults.values["menuBarAudioReactive"]));
    EXPECT_EQ(controller->motion().current, MenuBarAudioFrame{});
    EXPECT_FALSE(menu()[1].checked);
    controller->update(features(1), 1.1);
    EXPECT_EQ(controller->motion().current, MenuBarAudioFrame{});
    EXPECT_DOUBLE_EQ(controller->renderer().time(), 1.0 / 60 + 0.1);
}

TEST_F(MenuBarControllerTest, ReachableOnlyWhileATrayShowsTheIcon) {
    statusBar.trayPresent = false;
    auto controller = make();
    std::vector<bool> changes;
    controller->setOnReachableChanged([&](bool reachable) { changes.push_back(reachable); });
    EXPECT_TRUE(controller->isVisible());
    EXPECT_FALSE(controller->isReachable());
    statusBar.setTrayPresent(true);
    EXPECT_TRUE(controller->isReachable());
    controller->setVisible(false, false);
    EXPECT_FALSE(controller->isReachable());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(MenuBarControllerTest, MenuOpeningRefreshesChecks) {
    auto controller = make();
    int menus = statusBar.state->menuCount;
    statusBar.openMenu();
    EXPECT_EQ(statusBar.state->menuCount, menus + 1);
}

} // namespace
} // namespace vimbo::menubar
