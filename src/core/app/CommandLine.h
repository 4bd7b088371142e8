#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vimbo::app {

// True when one of the arguments after the program name is exactly `name` ("--debug"), not a prefix
// or a longer word that contains it.
bool hasSwitch(int argc, const char* const* argv, std::string_view name);

// The text that "--help" or "--version" (whichever comes first) asks the program to print and exit
// with, before any window or server is touched; none without either. `version` is the version line's
// tail ("0.1.0 (Build 1a2b3c4)").
std::optional<std::string> informationRequest(int argc, const char* const* argv, std::string_view version);

} // namespace vimbo::app
