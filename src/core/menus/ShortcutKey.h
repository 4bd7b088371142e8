#pragma once

#include <string>
#include <utility>

namespace vimbo::menus {

// Modifier flags of a key equivalent, as a menu takes them.
namespace modifier {
inline constexpr unsigned control = 1u << 0;
inline constexpr unsigned option = 1u << 1;
inline constexpr unsigned shift = 1u << 2;
inline constexpr unsigned command = 1u << 3;
} // namespace modifier

// The function-key characters menus use for the arrow keys, and the other special keys, as UTF-8.
inline constexpr const char* kLeftArrowKey = "\xEF\x9C\x82";  // U+F702
inline constexpr const char* kRightArrowKey = "\xEF\x9C\x83"; // U+F703
inline constexpr const char* kEscapeKey = "\x1B";
inline constexpr const char* kReturnKey = "\r";

// How key labels are written: the macOS glyphs ("⇧⌘Z") or GTK's accelerator labels ("Shift+Ctrl+Z").
enum class KeyLabelStyle { glyphs, gtk };

// A key equivalent: one key (a character, or the arrow function-key characters) and its modifiers.
struct ShortcutKey {
    std::string key;
    unsigned modifiers = 0;

    // The macOS form used in the shortcut sheet: modifiers as ⌃⌥⇧⌘ in that order, then the key's symbol.
    std::string display() const;
    // GTK's accelerator label for the same key on Linux, where Command is Ctrl and Option is Alt.
    std::string gtkLabel() const;
    // The accelerator text gtk_accelerator_parse takes ("<Primary>1", "<Primary><Alt>Left").
    std::string gtkAccelerator() const;
    std::string label(KeyLabelStyle style) const {
        return style == KeyLabelStyle::glyphs ? display() : gtkLabel();
    }

    bool operator==(const ShortcutKey&) const = default;
};

// Command plus `key`, with any further modifiers: the form of nearly every key equivalent.
inline ShortcutKey commandKey(std::string key, unsigned moreModifiers = 0) {
    return ShortcutKey{std::move(key), modifier::command | moreModifiers};
}

} // namespace vimbo::menus
