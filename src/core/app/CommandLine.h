#pragma once

#include <string_view>

namespace vimbo::app {

// True when one of the arguments after the program name is exactly `name` ("--debug"), not a prefix
// or a longer word that contains it.
bool hasSwitch(int argc, const char* const* argv, std::string_view name);

} // namespace vimbo::app
