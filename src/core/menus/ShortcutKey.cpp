#include "core/menus/ShortcutKey.h"

#include <array>
#include <string_view>

namespace vimbo::menus {
namespace {

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

struct NamedKey {
    std::string_view key;
    std::string_view glyph;
    std::string_view gtkName;
    std::string_view gtkLabel;
};

// Keys whose symbol is not the key itself upper-cased.
constexpr std::array kNamedKeys{
    NamedKey{kLeftArrowKey, "←", "Left", "Left"},  NamedKey{kRightArrowKey, "→", "Right", "Right"},
    NamedKey{" ", "Space", "space", "Space"},      NamedKey{kEscapeKey, "⎋", "Escape", "Escape"},
    NamedKey{kReturnKey, "↩", "Return", "Return"},
};

const NamedKey* namedKey(std::string_view key) {
    for (const auto& named : kNamedKeys) {
        if (named.key == key) return &named;
    }
    return nullptr;
}

// GDK key names of the punctuation our key equivalents use; letters and digits are their own names.
constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kPunctuationNames{{
    {",", "comma"},
    {".", "period"},
    {"/", "slash"},
    {"[", "bracketleft"},
    {"]", "bracketright"},
    {";", "semicolon"},
    {"'", "apostrophe"},
    {"-", "minus"},
    {"=", "equal"},
    {"\\", "backslash"},
    {"`", "grave"},
}};

std::string gtkKeyName(std::string_view key) {
    if (const auto* named = namedKey(key)) return std::string(named->gtkName);
    for (const auto& [text, name] : kPunctuationNames) {
        if (text == key) return std::string(name);
    }
    std::string lower(key);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

} // namespace

std::string ShortcutKey::display() const {
    std::string text;
    if (modifiers & modifier::control) text += "⌃";
    if (modifiers & modifier::option) text += "⌥";
    if (modifiers & modifier::shift) text += "⇧";
    if (modifiers & modifier::command) text += "⌘";
    if (const auto* named = namedKey(key)) return text + std::string(named->glyph);
    return text + upperAscii(key);
}

// Command takes Ctrl on Linux, so the Control flag (unused by our menus) goes to Super.
std::string ShortcutKey::gtkLabel() const {
    std::string text;
    if (modifiers & modifier::shift) text += "Shift+";
    if (modifiers & modifier::command) text += "Ctrl+";
    if (modifiers & modifier::option) text += "Alt+";
    if (modifiers & modifier::control) text += "Super+";
    if (const auto* named = namedKey(key)) return text + std::string(named->gtkLabel);
    return text + upperAscii(key);
}

std::string ShortcutKey::gtkAccelerator() const {
    std::string text;
    if (modifiers & modifier::shift) text += "<Shift>";
    if (modifiers & modifier::command) text += "<Primary>";
    if (modifiers & modifier::option) text += "<Alt>";
    if (modifiers & modifier::control) text += "<Super>";
    return text + gtkKeyName(key);
}

} // namespace vimbo::menus
