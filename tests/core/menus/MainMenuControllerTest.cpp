#include "core/menus/MainMenuController.h"
#include "core/menus/MenuActionRules.h"

#include "fakes/FakeMainMenu.h"
#include "fakes/RecordingMenuTarget.h"

#include <gtest/gtest.h>

#include <set>

using namespace vimbo::menus;
using vimbo::fakes::FakeMainMenu;
using vimbo::fakes::RecordingMenuTarget;

namespace {

NativeMenuState state(std::int64_t skin) {
    NativeMenuState s;
    s.skin = skin;
    return s;
}

} // namespace

class MainMenuControllerTest : public ::testing::Test {
  protected:
    // The delegate's rules, over this controller and a mini flag the test sets.
    MainMenuControllerTest() {
        target.rule = [this](MenuAction action) {
            return validateMenuItem(action, controller.get(), isMini);
        };
        controller = std::make_unique<MainMenuController>(menu, target);
    }

    bool checked(const std::vector<std::string>& path, const std::string& title) {
        return menu.item(path, title).checked;
    }
    bool enabled(const std::vector<std::string>& path, const std::string& title) {
        return menu.item(path, title).enabled;
    }
    std::vector<std::string> checkedSkins() {
        std::vector<std::string> names;
        for (const auto& title : menu.titles(menu.menuAt({"View", "Skin"}))) {
            if (checked({"View", "Skin"}, title)) names.push_back(title);
        }
        return names;
    }
    void choose(const std::vector<std::string>& path, const std::string& title) {
        auto& item = menu.item(path, title);
        ASSERT_TRUE(item.item.activate);
        item.item.activate();
    }

    FakeMainMenu menu;
    RecordingMenuTarget target;
    bool isMini = false;
    std::unique_ptr<MainMenuController> controller;
};

TEST_F(MainMenuControllerTest, BuildsTheWholeTreeInOrder) {
    using Titles = std::vector<std::string>;
    EXPECT_EQ(menu.titles(FakeMainMenu::kMenuBar),
              (Titles{"Vimbo", "Edit", "View", "Playback", "Window", "Help"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"Vimbo"})),
              (Titles{"About Vimbo", "-", "Check for Updates…", "-", "Quit Vimbo"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"Edit"})), (Titles{"Undo", "Redo", "-", "Cut", "Copy", "Paste",
                                                          "Paste and Match Style", "-", "Select All"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"View"})),
              (Titles{"Show Settings…", "-", "Skin", "Display", "-", "Next Skin", "Previous Skin"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"View", "Skin"})),
              (Titles{"Glossy", "Contour", "Bubble", "Mesh", "Dust", "Dandelion", "Parasite", "Wake"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"View", "Display"})),
              (Titles{"Dark Mode", "Glow", "Glass", "Keep Display Awake", "Track Info", "Menu Bar Icon"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"Playback"})),
              (Titles{"Play / Pause", "Previous Track", "Next Track"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"Window"})),
              (Titles{"Mini Player", "Always on Top", "-", "Close Window", "Minimize", "Zoom",
                      "Enter Full Screen", "-", "Bring All to Front"}));
    EXPECT_EQ(menu.titles(menu.menuAt({"Help"})),
              (Titles{"Keyboard Shortcuts", "-", "Acknowledgements", "Vimbo Support"}));

    std::set<std::string> ids;
    std::set<std::string> accelerators;
    for (const auto& item : menu.items) {
        EXPECT_TRUE(ids.insert(item.item.id).second) << item.item.id;
        if (item.item.key) {
            EXPECT_TRUE(accelerators.insert(item.item.key->gtkAccelerator()).second) << item.item.title;
        }
    }
}

TEST_F(MainMenuControllerTest, ItemsCarryTheirKeysAndRepresentedValues) {
    auto& dust = menu.item({"View", "Skin"}, "Dust");
    EXPECT_EQ(dust.item.key, commandKey("5"));
    EXPECT_EQ(dust.item.represented, MenuValue{std::int64_t{1}});
    EXPECT_EQ(menu.item({"View", "Display"}, "Keep Display Awake").item.represented,
              MenuValue{std::string("keepAwake")});
    EXPECT_FALSE(menu.item({"View", "Display"}, "Glass").item.key);
    EXPECT_EQ(menu.item({"Playback"}, "Previous Track").item.key,
              (ShortcutKey{kLeftArrowKey, modifier::option | modifier::command}));
    EXPECT_EQ(menu.item({"Edit"}, "Paste and Match Style").item.key,
              commandKey("v", modifier::option | modifier::shift));
    EXPECT_EQ(menu.item({"Help"}, "Vimbo Support").item.key, commandKey("/", modifier::shift));
    EXPECT_EQ(menu.item({"Window"}, "Mini Player").item.key, commandKey("m", modifier::shift));
    EXPECT_FALSE(menu.item({"Window"}, "Zoom").item.key);
}

TEST_F(MainMenuControllerTest, TargetItemsReachTheDelegateAndStandardItemsStayWithThePlatform) {
    choose({"View", "Skin"}, "Dust");
    choose({"View"}, "Next Skin");
    choose({"View"}, "Previous Skin");
    choose({"Playback"}, "Next Track");
    choose({"Help"}, "Keyboard Shortcuts");
    ASSERT_EQ(target.performed.size(), 5u);
    EXPECT_EQ(webMenuCommand(target.performed[0].first, target.performed[0].second), WebMenuCommand::skin(1));
    EXPECT_EQ(webMenuCommand(target.performed[1].first, target.performed[1].second),
              WebMenuCommand::cycleSkin(1));
    EXPECT_EQ(webMenuCommand(target.performed[2].first, target.performed[2].second),
              WebMenuCommand::cycleSkin(-1));
    EXPECT_EQ(webMenuCommand(target.performed[3].first, target.performed[3].second),
              WebMenuCommand::media(MediaMenuCommand::next));
    EXPECT_EQ(target.performed[4].first, MenuAction::showKeyboardShortcuts);

    for (auto [path, title] : {std::pair<const char*, const char*>{"Vimbo", "Quit Vimbo"},
                               {"Edit", "Copy"},
                               {"Window", "Close Window"},
                               {"Window", "Bring All to Front"}}) {
        EXPECT_FALSE(menu.item({path}, title).item.activate) << title;
    }
}

TEST_F(MainMenuControllerTest, NothingIsCheckedAndPlaybackIsDisabledUntilTheFirstState) {
    EXPECT_TRUE(checkedSkins().empty());
    for (const auto& title : menu.titles(menu.menuAt({"View", "Display"})))
        EXPECT_FALSE(checked({"View", "Display"}, title));
    for (const auto& title : menu.titles(menu.menuAt({"Playback"})))
        EXPECT_FALSE(enabled({"Playback"}, title));
}

TEST_F(MainMenuControllerTest, AtMostOneSkinIsChecked) {
    controller->apply(state(5));
    EXPECT_EQ(checkedSkins(), std::vector<std::string>{"Parasite"});
    controller->apply(state(0));
    EXPECT_EQ(checkedSkins(), std::vector<std::string>{"Glossy"});
    controller->apply(state(9));
    EXPECT_TRUE(checkedSkins().empty());
}

TEST_F(MainMenuControllerTest, DisplayMarksFollowTheStateAndGlowNeedsDarkMode) {
    auto s = state(0);
    s.glow = true;
    s.keepAwake = true;
    s.menuBarVisible = true;
    controller->apply(s);
    EXPECT_FALSE(checked({"View", "Display"}, "Dark Mode"));
    EXPECT_TRUE(checked({"View", "Display"}, "Glow"));
    EXPECT_FALSE(enabled({"View", "Display"}, "Glow"));
    EXPECT_FALSE(checked({"View", "Display"}, "Glass"));
    EXPECT_TRUE(checked({"View", "Display"}, "Keep Display Awake"));
    EXPECT_FALSE(checked({"View", "Display"}, "Track Info"));
    EXPECT_TRUE(checked({"View", "Display"}, "Menu Bar Icon"));
    for (const char* title : {"Dark Mode", "Glass", "Keep Display Awake", "Track Info", "Menu Bar Icon"}) {
        EXPECT_TRUE(enabled({"View", "Display"}, title)) << title;
    }

    s.dark = true;
    s.glass = true;
    s.musicInfo = true;
    controller->apply(s);
    EXPECT_TRUE(enabled({"View", "Display"}, "Glow"));
    EXPECT_TRUE(checked({"View", "Display"}, "Dark Mode"));
    EXPECT_TRUE(checked({"View", "Display"}, "Glass"));
    EXPECT_TRUE(checked({"View", "Display"}, "Track Info"));
}

TEST_F(MainMenuControllerTest, PlaybackFollowsMusicControl) {
    auto s = state(0);
    s.musicControl = true;
    controller->apply(s);
    for (const auto& title : menu.titles(menu.menuAt({"Playback"})))
        EXPECT_TRUE(enabled({"Playback"}, title));
    s.musicControl = false;
    controller->apply(s);
    for (const auto& title : menu.titles(menu.menuAt({"Playback"})))
        EXPECT_FALSE(enabled({"Playback"}, title));
}

TEST_F(MainMenuControllerTest, WindowCheckMarksSurviveStateUpdates) {
    controller->apply(WindowMenuState{true, true});
    EXPECT_TRUE(checked({"Window"}, "Mini Player"));
    EXPECT_TRUE(checked({"Window"}, "Always on Top"));
    controller->apply(state(3));
    EXPECT_TRUE(checked({"Window"}, "Mini Player"));
    EXPECT_TRUE(checked({"Window"}, "Always on Top"));
    EXPECT_EQ(controller->windowState(), (WindowMenuState{true, true}));
    controller->apply(WindowMenuState{false, true});
    EXPECT_FALSE(checked({"Window"}, "Mini Player"));
    EXPECT_TRUE(checked({"Window"}, "Always on Top"));
}

TEST_F(MainMenuControllerTest, ValidationFollowsExportModeMiniModeAndTheDelegatesMiniFlag) {
    EXPECT_TRUE(enabled({"Window"}, "Mini Player"));
    EXPECT_FALSE(enabled({"Window"}, "Always on Top"));
    EXPECT_TRUE(enabled({"View"}, "Show Settings…"));

    auto exporting = state(0);
    exporting.exportMode = true;
    controller->apply(exporting);
    EXPECT_TRUE(controller->exportMode());
    EXPECT_FALSE(enabled({"Window"}, "Mini Player"));
    controller->apply(state(0));
    EXPECT_TRUE(enabled({"Window"}, "Mini Player"));

    isMini = true;
    controller->apply(WindowMenuState{true, false});
    EXPECT_FALSE(enabled({"View"}, "Show Settings…"));
    EXPECT_TRUE(enabled({"Window"}, "Always on Top"));
    for (const char* title : {"Glossy", "Wake"})
        EXPECT_TRUE(enabled({"View", "Skin"}, title));
    EXPECT_TRUE(enabled({"Help"}, "Vimbo Support"));
}

TEST(MenuActionRulesTest, WithoutAMainMenuOnlyAlwaysOnTopDependsOnMiniMode) {
    EXPECT_TRUE(validateMenuItem(MenuAction::showSettings, nullptr, true));
    EXPECT_TRUE(validateMenuItem(MenuAction::toggleMiniPlayerFromMenu, nullptr, false));
    EXPECT_FALSE(validateMenuItem(MenuAction::toggleAlwaysOnTopFromMenu, nullptr, false));
    EXPECT_TRUE(validateMenuItem(MenuAction::toggleAlwaysOnTopFromMenu, nullptr, true));
    EXPECT_TRUE(validateMenuItem(MenuAction::openSupport, nullptr, false));
}
