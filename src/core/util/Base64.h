#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vimbo::util {

// Standard base64 (RFC 4648 alphabet, "=" padding, no line breaks).
std::string base64Encoded(std::string_view bytes);

// True when `text` is standard base64 as above; the empty text encodes no bytes.
bool isBase64(std::string_view text);

// Decodes `text`, which must satisfy isBase64 (so must any slice of such a text that starts and ends
// at multiples of four), into `out`, which holds at least text.size() / 4 * 3 bytes. Answers the
// number of bytes written.
std::size_t decodeBase64(std::string_view text, char* out);

} // namespace vimbo::util
