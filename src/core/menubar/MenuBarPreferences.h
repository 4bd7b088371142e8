#pragma once

#include "core/menubar/MenuBarSkin.h"
#include "core/platform/DefaultsStore.h"

namespace vimbo::menubar {

// The icon's three stored choices. Missing or unusable values read as the defaults: slime,
// audio reaction on, icon visible; a stored false stays false.
class MenuBarPreferences {
  public:
    static constexpr const char* kSkinKey = "menuBarSkin";
    static constexpr const char* kAudioReactiveKey = "menuBarAudioReactive";
    static constexpr const char* kVisibleKey = "menuBarVisible";

    explicit MenuBarPreferences(platform::DefaultsStore& defaults) : defaults_(defaults) {}

    MenuBarSkin skin() const;
    bool audioReactive() const;
    bool visible() const;

    void storeSkin(MenuBarSkin skin);
    void storeAudioReactive(bool reactive);
    void storeVisible(bool visible);

  private:
    platform::DefaultsStore& defaults_;
};

} // namespace vimbo::menubar
