#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace vimbo::util {

// `text` read whole as a number of type T: none when it is empty, has anything after the number, or
// does not fit T.
template <typename T> std::optional<T> wholeNumber(std::string_view text) {
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace vimbo::util
