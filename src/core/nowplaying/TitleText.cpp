#include "core/nowplaying/TitleText.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vimbo::nowplaying::titletext {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

constexpr std::array kWhitespace{Range{0x09, 0x09},     Range{0x20, 0x20},     Range{0xA0, 0xA0},
                                 Range{0x1680, 0x1680}, Range{0x2000, 0x200A}, Range{0x202F, 0x202F},
                                 Range{0x205F, 0x205F}, Range{0x3000, 0x3000}};
constexpr std::array kNewlines{Range{0x0A, 0x0D}, Range{0x85, 0x85}, Range{0x2028, 0x2029}};

// Characters with a numeric value: the decimal digits of the common scripts, super- and subscripts,
// fractions, number forms, circled and dingbat numbers, and the ideographic ones.
constexpr std::array kNumeric{
    Range{0x30, 0x39},     Range{0xB2, 0xB3},     Range{0xB9, 0xB9},     Range{0xBC, 0xBE},
    Range{0x660, 0x669},   Range{0x6F0, 0x6F9},   Range{0x7C0, 0x7C9},   Range{0x966, 0x96F},
    Range{0x9E6, 0x9EF},   Range{0xA66, 0xA6F},   Range{0xAE6, 0xAEF},   Range{0xB66, 0xB6F},
    Range{0xBE6, 0xBF2},   Range{0xC66, 0xC6F},   Range{0xCE6, 0xCEF},   Range{0xD66, 0xD78},
    Range{0xDE6, 0xDEF},   Range{0xE50, 0xE59},   Range{0xED0, 0xED9},   Range{0xF20, 0xF33},
    Range{0x1040, 0x1049}, Range{0x1090, 0x1099}, Range{0x17E0, 0x17E9}, Range{0x1810, 0x1819},
    Range{0x2070, 0x2070}, Range{0x2074, 0x2079}, Range{0x2080, 0x2089}, Range{0x2150, 0x2189},
    Range{0x2460, 0x249B}, Range{0x24EA, 0x24FF}, Range{0x2776, 0x2793}, Range{0x3007, 0x3007},
    Range{0x3021, 0x3029}, Range{0x3038, 0x303A}, Range{0xFF10, 0xFF19}};

template <std::size_t N> bool contains(const std::array<Range, N>& ranges, char32_t c) {
    return std::any_of(ranges.begin(), ranges.end(), [c](Range r) { return c >= r.first && c <= r.last; });
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at `at` and its length in bytes; a malformed byte reads as one replacement
// character, which is neither blank nor numeric.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0xC0 || lead >= 0xF8 || at + length > text.size()) return {kReplacement, 1};
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!isContinuation(byte)) return {kReplacement, 1};
        c = (c << 6) | (byte & 0x3F);
    }
    return {c, length};
}

bool isTrimmed(char32_t c, Trim what) {
    return contains(kWhitespace, c) || (what == Trim::whitespaceAndNewlines && contains(kNewlines, c));
}

} // namespace

std::string trimmed(std::string_view text, Trim what) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        auto [c, length] = decode(text, begin);
        if (!isTrimmed(c, what)) break;
        begin += length;
    }
    std::size_t end = text.size();
    while (end > begin) {
        std::size_t start = end - 1;
        while (start > begin && isContinuation(static_cast<unsigned char>(text[start])))
            --start;
        if (!isTrimmed(decode(text, start).first, what)) break;
        end = start;
    }
    return std::string(text.substr(begin, end - begin));
}

bool isAllNumeric(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        auto [c, length] = decode(text, at);
        if (!contains(kNumeric, c)) return false;
        at += length;
    }
    return !text.empty();
}

} // namespace vimbo::nowplaying::titletext
