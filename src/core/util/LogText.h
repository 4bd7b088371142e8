#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vimbo::util {

// Log lines carry text from outside (the page, files, D-Bus peers): a newline would forge a line
// of its own and an escape sequence would drive the reader's terminal. The result holds printable
// UTF-8 only: control characters (C0, DEL and C1) become "\xNN" (a NUL too), bytes that are not
// UTF-8 become "\xNN", and text beyond `maxBytes` is cut at a character boundary with the count
// of bytes left out.
inline constexpr std::size_t kMaxLogTextBytes = 4096;
std::string printableLogText(std::string_view text, std::size_t maxBytes = kMaxLogTextBytes);

} // namespace vimbo::util
