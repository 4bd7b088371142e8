#include "core/menubar/MenuBarPreferences.h"

namespace vimbo::menubar {

MenuBarSkin MenuBarPreferences::skin() const {
    auto stored = defaults_.readString(kSkinKey);
    if (!stored) return MenuBarSkin::slime;
    return menuBarSkin(*stored).value_or(MenuBarSkin::slime);
}

bool MenuBarPreferences::audioReactive() const {
    return defaults_.readBool(kAudioReactiveKey).value_or(true);
}

bool MenuBarPreferences::visible() const {
    return defaults_.readBool(kVisibleKey).value_or(true);
}

void MenuBarPreferences::storeSkin(MenuBarSkin skin) {
    defaults_.writeString(kSkinKey, rawValue(skin));
}

void MenuBarPreferences::storeAudioReactive(bool reactive) {
    defaults_.writeBool(kAudioReactiveKey, reactive);
}

void MenuBarPreferences::storeVisible(bool visible) {
    defaults_.writeBool(kVisibleKey, visible);
}

} // namespace vimbo::menubar
