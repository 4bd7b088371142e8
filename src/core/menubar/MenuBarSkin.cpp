#include "core/menubar/MenuBarSkin.h"

#include "core/util/EnumTable.h"

namespace vimbo::menubar {
namespace {

struct SkinRow {
    MenuBarSkin value;
    std::string_view raw;
    std::string_view title;
};

constexpr std::array<SkinRow, 3> kSkins{{
    {MenuBarSkin::slime, "slime", "Slime"},
    {MenuBarSkin::dust, "dust", "Dust"},
    {MenuBarSkin::dandelion, "parasite", "Dandelion"},
}};
static_assert(util::inEnumOrder(kSkins) && kSkins.size() == kAllMenuBarSkins.size());

} // namespace

std::string_view rawValue(MenuBarSkin skin) {
    return util::rowOf(kSkins, skin).raw;
}

std::string_view menuTitle(MenuBarSkin skin) {
    return util::rowOf(kSkins, skin).title;
}

std::optional<MenuBarSkin> menuBarSkin(std::string_view raw) {
    return util::valueWithRaw(kSkins, raw);
}

} // namespace vimbo::menubar
