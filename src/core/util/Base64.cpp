#include "core/util/Base64.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vimbo::util {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Each character's six bits; -1 for characters outside the alphabet ("=" included).
constexpr std::array<std::int8_t, 256> kValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return values;
}();

int valueOf(char c) {
    return kValues[static_cast<unsigned char>(c)];
}

} // namespace

std::string base64Encoded(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            text += k <= count ? kAlphabet[group >> (18 - 6 * k) & 0x3F] : '=';
    }
    return text;
}

bool isBase64(std::string_view text) {
    if (text.size() % 4 != 0) return false;
    std::size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=')
        ++padding;
    for (std::size_t i = 0; i < text.size() - padding; ++i) {
        if (valueOf(text[i]) < 0) return false;
    }
    return true;
}

std::size_t decodeBase64(std::string_view text, char* out) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        std::uint32_t group = 0;
        std::size_t digits = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const int value = valueOf(text[i + k]);
            if (value >= 0) ++digits;
            group = group << 6 | static_cast<std::uint32_t>(value < 0 ? 0 : value);
        }
        // Four digits give three bytes; padding leaves one or two.
        for (std::size_t k = 0; k + 1 < digits; ++k)
            out[written++] = static_cast<char>(group >> (16 - 8 * k) & 0xFF);
    }
    return written;
}

} // namespace vimbo::util
