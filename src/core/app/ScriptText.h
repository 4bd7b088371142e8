#pragma once

#include <string>
#include <string_view>

namespace vimbo::app {

// A text as a script string literal: its JSON string encoding ("" if encoding fails).
std::string javascriptLiteral(std::string_view text);

// The shortest decimal text that reads back as the same 32-bit float, always with a fractional part
// (1 gives "1.0", 0.125 gives "0.125"). Non-finite values give "NaN", "Infinity" or "-Infinity".
std::string shortestFloatText(float value);

} // namespace vimbo::app
