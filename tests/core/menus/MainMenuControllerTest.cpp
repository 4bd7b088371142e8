#include "core/menus/MainMenuController.h"
#include "core/menus/MenuActionRules.h"

#include "fakes/FakeMainMenu.h"
#include "fakes/RecordingMenuTarget.h"

#include <gtest/gtest.h>

#include <set>

using namespace vimbo::menus;
using vimbo::fakes::FakeMainMenu;
using Titles = std::vector<std::string>;

class MainMenuControllerTest : public ::testing::Test {
  protected:
    // The delegate's rules, over this controller and a mini flag the test sets.
    MainMenuControllerTest() {
        target.rule = [this](MenuAction action) {
            return validateMenuItem(action, controller.get(), isMini);
        };
        controller = std::make_unique<MainMenuController>(menu, target);
    }

    // The titles in the menu at `path` whose check mark (or enabling) is on.
    Titles marked(const Titles& path,
                  bool FakeMainMenu::ItemState::*flag = &FakeMainMenu::ItemState::checked) {
        Titles on;
        for (const auto& title : menu.titles(menu.menuAt(path)))
            if (title != "-" && menu.item(path, title).*flag) on.push_back(title);
        return on;
    }
    Titles enabled(const Titles& path) { return marked(path, &FakeMainMenu::ItemState::enabled); }

    FakeMainMenu menu;
    vimbo::fakes::RecordingMenuTarget target;
    bool isMini = false;
    std::unique_ptr<MainMenuController> controller;
};

TEST_F(MainMenuControllerTest, BuildsTheWholeTreeInOrderWithUniqueIdsAndAccelerators) {
    EXPECT_EQ(menu.titles(FakeMainMenu::kMenuBar),
              (Titles{"Vimbo", "Edit", "View", "Playback", "Window", "Help"}));

    std::set<std::string> ids, accelerators;
    for (const auto& state : menu.items) {
        EXPECT_TRUE(ids.insert(state.item.id).second) << state.item.id;
        if (state.item.key) {
            EXPECT_TRUE(accelerators.insert(state.item.key->gtkAccelerator()).second) << state.item.title;
        }
    }
    EXPECT_FALSE(menu.item({"View", "Display"}, "Glass").item.key);

    menu.item({"View", "Skin"}, "Dust").item.activate();
    menu.item({"View"}, "Previous Skin").item.activate();
    EXPECT_EQ(target.performed,
              (decltype(target.performed){{MenuAction::selectSkinFromMenu, std::int64_t{1}},
                                          {MenuAction::cycleSkinFromMenu, std::int64_t{-1}}}));
}

TEST_F(MainMenuControllerTest, CheckMarksAndEnablingFollowThePageState) {
    EXPECT_EQ(enabled({"Playback"}), Titles{}); // off until the page's first state

    NativeMenuState state;
    state.skin = 5;
    state.keepAwake = state.menuBarVisible = state.musicControl = true;
    controller->apply(state);
    EXPECT_EQ(marked({"View", "Skin"}), Titles{"Parasite"});
    EXPECT_EQ(marked({"View", "Display"}), (Titles{"Keep Display Awake", "Menu Bar Icon"}));
    EXPECT_FALSE(menu.item({"View", "Display"}, "Glow").enabled); // Glow needs the dark background
    EXPECT_EQ(enabled({"Playback"}).size(), 3u);

    state.skin = 9; // unknown to the menu
    controller->apply(state);
    EXPECT_EQ(marked({"View", "Skin"}), Titles{});
}

TEST_F(MainMenuControllerTest, WindowMarksSurvivePageStatesAndValidationFollowsModes) {
    EXPECT_EQ(enabled({"Window"}), (Titles{"Mini Player", "Close Window", "Minimize", "Zoom",
                                           "Enter Full Screen", "Bring All to Front"}));

    NativeMenuState exporting;
    exporting.exportMode = true;
    controller->apply(exporting);
    EXPECT_FALSE(menu.item({"Window"}, "Mini Player").enabled);
    controller->apply(NativeMenuState{});
    EXPECT_TRUE(menu.item({"Window"}, "Mini Player").enabled);

    isMini = true;
    controller->apply(WindowMenuState{true, true});
    EXPECT_EQ(marked({"Window"}), (Titles{"Mini Player", "Always on Top"}));
    EXPECT_FALSE(menu.item({"View"}, "Show Settings…").enabled);
    EXPECT_TRUE(menu.item({"Window"}, "Always on Top").enabled);
    EXPECT_EQ(enabled({"View", "Skin"}).size(), 8u);
    controller->apply(NativeMenuState{});
    EXPECT_EQ(marked({"Window"}), (Titles{"Mini Player", "Always on Top"}));
    controller->apply(WindowMenuState{false, true});
    EXPECT_EQ(marked({"Window"}), Titles{"Always on Top"});

    // Without a main menu only Always on Top depends on mini mode.
    EXPECT_TRUE(validateMenuItem(MenuAction::showSettings, nullptr, true));
    EXPECT_FALSE(validateMenuItem(MenuAction::toggleAlwaysOnTopFromMenu, nullptr, false));
}
