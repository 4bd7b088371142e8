#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace vimbo::util {

// Constant tables with one row per value of an enumeration, in the enumeration's order. Each row
// has the enumeration `value` first and usually its stored or sent text as `raw`.

// True when row i holds the value i: a static_assert on it keeps a table in step with its enum.
template <typename Row, std::size_t N> constexpr bool inEnumOrder(const std::array<Row, N>& table) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(table[i].value) != i) return false;
    return true;
}

template <typename Row, std::size_t N, typename Enum>
constexpr const Row& rowOf(const std::array<Row, N>& table, Enum value) {
    return table[static_cast<std::size_t>(value)];
}

// The value whose raw text is exactly `raw`; none for any other text.
template <typename Row, std::size_t N>
constexpr std::optional<decltype(Row::value)> valueWithRaw(const std::array<Row, N>& table,
                                                           std::string_view raw) {
    for (const Row& row : table)
        if (row.raw == raw) return row.value;
    return std::nullopt;
}

} // namespace vimbo::util
