#include "core/menubar/MenuBarController.h"

#include "fakes/FakeStatusBar.h"
#include "fakes/InMemoryDefaults.h"

#include <gtest/gtest.h>

namespace vimbo::menubar {
namespace {

using platform::StatusMenuItem;

// Titles, "*" when checked, ":object" for skins, "^key" for shortcuts, "---" for separators.
std::string describe(const std::vector<StatusMenuItem>& items) {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty()) text += "|";
        text += item.kind == StatusMenuItem::Kind::separator ? "---" : item.title;
        if (!item.representedObject.empty()) text += ":" + item.representedObject;
        if (item.checked) text += "*";
        if (!item.keyEquivalent.empty()) text += "^" + item.keyEquivalent;
        if (!item.children.empty()) text += "{" + describe(item.children) + "}";
    }
    return text;
}

class MenuBarControllerTest : public ::testing::Test {
  protected:
    std::unique_ptr<MenuBarController> make() {
        MenuBarActions actions{{}, {}, {}, [this] { ++hiddenFromMenu; }};
        return std::make_unique<MenuBarController>(actions, defaults, statusBar);
    }
    std::string menu() const { return describe(statusBar.state->menu); }
    int images() const { return statusBar.state->imageCount; }
    template <typename T> T stored(const std::string& key) { return std::get<T>(defaults.values.at(key)); }

    fakes::InMemoryDefaults defaults;
    fakes::FakeStatusBar statusBar;
    int hiddenFromMenu = 0;
};

TEST_F(MenuBarControllerTest, StartsFromPreferencesWithFallbacksAndStoresNothing) {
    auto controller = make();
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::slime);
    EXPECT_TRUE(controller->audioReactive());
    EXPECT_TRUE(controller->isVisible());
    EXPECT_EQ(images(), 1); // the resting image
    EXPECT_EQ(menu(), "Skin{Slime:slime*|Dust:dust|Dandelion:parasite}|Audio Reactive*|---|Open Vimbo|"
                      "Check for Updates\u2026|Hide Menu Bar Icon|---|Quit Vimbo^q");
    EXPECT_TRUE(defaults.values.empty());

    defaults.values = {{"menuBarSkin", std::string("glitter")},
                       {"menuBarAudioReactive", false},
                       {"menuBarVisible", std::string("no")}};
    controller = make();
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::slime); // unknown skin
    EXPECT_FALSE(controller->audioReactive());                 // a stored false stays false
    EXPECT_TRUE(controller->isVisible());                      // unusable value reads as the default
}

TEST_F(MenuBarControllerTest, SelectingASkinStoresItsRawValueAndRedrawsAtRest) {
    auto controller = make();
    statusBar.click("selectSkin:", "parasite");
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::dandelion);
    EXPECT_EQ(stored<std::string>("menuBarSkin"), "parasite");
    EXPECT_EQ(images(), 2);
    EXPECT_EQ(controller->renderer().time(), 0); // drawn with a zero step

    statusBar.click("selectSkin:", "parasite"); // already selected: redrawn again
    EXPECT_EQ(images(), 3);
    statusBar.click("selectSkin:", "Dandelion"); // titles are not skin names
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::dandelion);
    EXPECT_EQ(images(), 3);

    controller = make(); // the next launch
    EXPECT_EQ(controller->selectedSkin(), MenuBarSkin::dandelion);
}

TEST_F(MenuBarControllerTest, VisibilityIsStoredOnlyWhenAskedAndHidingFromTheMenuTellsThePage) {
    auto controller = make();
    controller->setVisible(true, false);
    EXPECT_EQ(statusBar.created, 1); // only what is missing is created
    EXPECT_EQ(defaults.values.count("menuBarVisible"), 0u);
    controller->setVisible(false, true);
    EXPECT_FALSE(statusBar.itemExists());
    EXPECT_FALSE(stored<bool>("menuBarVisible"));
    controller->setVisible(true, true);
    EXPECT_EQ(statusBar.created, 2);
    EXPECT_TRUE(stored<bool>("menuBarVisible"));

    statusBar.click("hideMenuBarAction:");
    EXPECT_FALSE(controller->isVisible());
    EXPECT_EQ(hiddenFromMenu, 1);
    EXPECT_FALSE(stored<bool>("menuBarVisible"));
    controller->perform("hideMenuBarAction:", ""); // already hidden: still tells the page
    EXPECT_EQ(hiddenFromMenu, 2);

    controller = make(); // the next launch starts without the icon
    EXPECT_FALSE(controller->isVisible());
    EXPECT_EQ(statusBar.created, 2);
}

TEST_F(MenuBarControllerTest, UpdateSamplesSmoothsAndRendersOnlyWhileVisible) {
    auto controller = make();
    controller->update({.level = 1}, 50);
    EXPECT_EQ(images(), 2);
    controller->update({.level = 1, .beat = 1}, 50.010); // skipped; its beat waits
    EXPECT_EQ(images(), 2);
    controller->update({.level = 1}, 50.5);
    EXPECT_EQ(images(), 3);
    EXPECT_EQ(controller->motion().current.beat, 1.0);

    statusBar.setTrayPresent(false); // nobody can see the icon: nothing is drawn
    controller->update({.level = 1}, 50.6);
    EXPECT_EQ(images(), 3);
    statusBar.setTrayPresent(true);

    double time = controller->renderer().time();
    controller->setVisible(false, false);
    controller->update({.level = 1}, 51);
    EXPECT_EQ(controller->renderer().time(), time);
}

TEST_F(MenuBarControllerTest, AudioReactiveOffZeroesAtOnceButTheIconKeepsMoving) {
    auto controller = make();
    controller->update({.level = 1}, 1);
    statusBar.click("toggleAudioReactive:");
    EXPECT_FALSE(controller->audioReactive());
    EXPECT_FALSE(stored<bool>("menuBarAudioReactive"));
    EXPECT_EQ(controller->motion().current, MenuBarAudioFrame{});
    controller->update({.level = 1}, 1.1);
    EXPECT_EQ(controller->motion().current, MenuBarAudioFrame{});
    EXPECT_DOUBLE_EQ(controller->renderer().time(), 1.0 / 60 + 0.1);
}

} // namespace
} // namespace vimbo::menubar
