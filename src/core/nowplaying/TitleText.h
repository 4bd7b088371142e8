#pragma once

#include <string>
#include <string_view>

// Unicode-aware pieces of text handling that page and window titles need (UTF-8 throughout).
namespace vimbo::nowplaying::titletext {

enum class Trim {
    whitespace,            // blanks and tabs of every script
    whitespaceAndNewlines, // the above and every kind of line end
};

std::string trimmed(std::string_view text, Trim what);

// True when the text holds at least one character and every one is a numeric character (any
// script's digits, fractions, Roman numerals, circled numbers...).
bool isAllNumeric(std::string_view text);

} // namespace vimbo::nowplaying::titletext
