#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vimbo::util {

// Decodes %XX escapes (UTF-8 bytes). None when an escape is malformed or the result is not UTF-8.
std::optional<std::string> percentDecoded(std::string_view text);

// Encodes every byte outside the unreserved set and "/" as %XX, for file addresses.
std::string percentEncodedPath(std::string_view path);

} // namespace vimbo::util
